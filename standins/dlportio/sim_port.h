// The simulated parallel port: a small shared file that the port I/O library
// (the computer's side) and the virtual printer (the printer's side) both map.
//
// Computer's side: writes the data and control latches; a strobe (control bit 0
// going from 0 to 1, the STROBE line going active) latches the data byte into
// the ring. When the ring becomes full it raises BUSY itself, as a printer does
// on a strobe it cannot take.
// Printer's side: drains the ring and drives the status register: BUSY (bit 7,
// inverted: 0 = busy) and PAPER END (bit 5, 1 = out of paper). It clears BUSY
// only while it is ready; to stop taking bytes it raises BUSY before it frees
// another slot.
#pragma once

#include <atomic>
#include <cstdint>

namespace dlportio {

inline constexpr std::uint32_t kSimMagic = 0x54504C53;  // "SLPT"
inline constexpr std::uint32_t kSimRingSize = 65536;

inline constexpr std::uint8_t kStatusNotBusy = 0x80;   // bit 7, inverted BUSY
inline constexpr std::uint8_t kStatusPaperEnd = 0x20;  // bit 5
inline constexpr std::uint8_t kStatusIdle = 0xD8;      // not busy, selected, no error
inline constexpr std::uint8_t kControlStrobe = 0x01;

struct SimPort {
    std::uint32_t magic;
    std::uint32_t ringSize;
    std::atomic<std::uint8_t> data;
    std::atomic<std::uint8_t> control;
    std::atomic<std::uint8_t> status;
    std::uint8_t reserved;
    std::atomic<std::uint32_t> head;  // bytes latched so far (computer's side)
    std::atomic<std::uint32_t> tail;  // bytes taken so far (printer's side)
    std::uint8_t ring[kSimRingSize];
};

static_assert(std::atomic<std::uint32_t>::is_always_lock_free, "shared between processes");
static_assert(std::atomic<std::uint8_t>::is_always_lock_free, "shared between processes");

}  // namespace dlportio
