// The logo store's messages to the operator, as the program shows them.
#pragma once

namespace stampa::msg {

inline constexpr const char* kOpenBitmapFailed = "打开位图失败!";
inline constexpr const char* kImageTooLarge = "图像太大，打开失败!";

}  // namespace stampa::msg
