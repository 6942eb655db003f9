// Pictures of the common formats, decoded to RGB for the logo pipeline: PNG
// (palette, grey, RGB, with alpha), JPEG (libjpeg-turbo; turned upright by its
// EXIF orientation), GIF (its first frame) and the BMP kinds the logo checks do
// not take (32-bit, 4- and 8-bit, RLE-compressed). Transparent pixels become
// white, the paper's colour.
//
// Every size a file claims is checked before anything is decoded, and the
// file is checked whole (PNG chunk CRCs and its end chunk, JPEG's end marker,
// GIF's trailer, BMP's pixel bytes): a truncated or corrupt picture is
// refused, never shown half.
#pragma once

#include <cstddef>
#include <vector>

#include "logos/rgb_picture.h"

namespace stampa {

enum class PictureFormat { Unknown, Bmp, Png, Jpeg, Gif };

// The format by the file's first bytes.
PictureFormat SniffPictureFormat(const unsigned char* bytes, std::size_t size);

enum class PictureError {
    None,
    NotAPicture,       // none of the formats
    Unsupported,       // a JPEG, in a build without a JPEG reader
    Corrupt,           // truncated, a bad CRC, or the decoder refused it
    TooManyPixels,     // the header claims more than the limit's pixels
    TooLargeForALogo,  // within the pixels, but wider or taller than a logo can be
};

struct PictureLimits {
    long long maxPixels = 64'000'000;  // a decompression bomb gets no memory
    int maxWidth = 8184;               // the logo limits, after the orientation
    int maxHeight = 2304;
};

struct DecodedPicture {
    PictureError error = PictureError::None;
    PictureFormat format = PictureFormat::Unknown;
    int claimedWidth = 0;  // as the header says (upright), for the refusal
    int claimedHeight = 0;
    RgbPicture picture;
};

DecodedPicture DecodePicture(const std::vector<unsigned char>& bytes,
                             const PictureLimits& limits = {});

// The parts, for the decoder and its tests.
// The EXIF orientation (1..8) of a JPEG; 1 when it has none.
int JpegOrientation(const std::vector<unsigned char>& jpeg);
// The picture turned as orientation `o` says its stored pixels must be.
RgbPicture Oriented(const RgbPicture& stored, int o);
// True when every PNG chunk's CRC holds and the end chunk is there.
bool PngChunksIntact(const std::vector<unsigned char>& png);
// An RLE4 or RLE8 BMP (compression 2 or 1); nothing when it is not one or is
// corrupt. Pixels no code reaches are white.
struct RleBmp {
    bool isRle = false;
    bool intact = false;
    RgbPicture picture;
};
RleBmp DecodeRleBmp(const std::vector<unsigned char>& bmp, const PictureLimits& limits);

}  // namespace stampa
