#include "ifc/guid.h"

#include <atomic>
#include <chrono>
#include <random>

#include "ifc/model.h"

namespace ifc {
namespace {

constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 36;
  if (c == '_') return 62;
  if (c == '$') return 63;
  return -1;
}

// What is drawn once per process: the node (random, multicast bit set so that it can never
// be mistaken for a network card's address) and the clock sequence.
struct ProcessIdentity {
  std::array<std::uint8_t, 6> node{};
  std::uint16_t clockSequence = 0;
  ProcessIdentity() {
    std::random_device rd;
    std::mt19937_64 rng((std::uint64_t{rd()} << 32) ^ rd());
    const std::uint64_t r = rng();
    for (int k = 0; k < 6; ++k)
      node[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(r >> (8 * k));
    node[0] |= 0x01;
    clockSequence = static_cast<std::uint16_t>(rng() & 0x3FFF);
  }
};

// 100-nanosecond intervals since 1582-10-15, the UUID epoch. Every call returns a value
// larger than any returned before in this process, across threads: when the clock has not
// advanced (or went back) the last value plus one is used, so the node and clock sequence
// can stay fixed and no two UUIDs of the process are equal.
std::uint64_t nextTimestamp() {
  static std::atomic<std::uint64_t> last{0};
  constexpr std::uint64_t kEpochOffset = 0x01B21DD213814000ULL;  // 1582-10-15 to 1970-01-01
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const std::uint64_t ticks =
      static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() /
                                 100) +
      kEpochOffset;
  std::uint64_t prev = last.load(std::memory_order_relaxed);
  std::uint64_t next;
  do {
    next = ticks > prev ? ticks : prev + 1;
  } while (!last.compare_exchange_weak(prev, next, std::memory_order_relaxed));
  return next;
}

}  // namespace

std::string createGuid() {
  static const ProcessIdentity identity;
  const std::uint64_t t = nextTimestamp() & 0x0FFFFFFFFFFFFFFFULL;
  Uuid u{};
  const auto timeLow = static_cast<std::uint32_t>(t);
  const auto timeMid = static_cast<std::uint16_t>(t >> 32);
  const auto timeHi = static_cast<std::uint16_t>((t >> 48) & 0x0FFF) | 0x1000;  // version 1
  for (int k = 0; k < 4; ++k)
    u[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(timeLow >> (24 - 8 * k));
  u[4] = static_cast<std::uint8_t>(timeMid >> 8);
  u[5] = static_cast<std::uint8_t>(timeMid);
  u[6] = static_cast<std::uint8_t>(timeHi >> 8);
  u[7] = static_cast<std::uint8_t>(timeHi);
  u[8] = static_cast<std::uint8_t>(0x80 | (identity.clockSequence >> 8));  // RFC 4122 variant
  u[9] = static_cast<std::uint8_t>(identity.clockSequence);
  for (int k = 0; k < 6; ++k)
    u[static_cast<std::size_t>(10 + k)] = identity.node[static_cast<std::size_t>(k)];
  return compressGuid(u);
}

// The first byte gives two characters (the first holding its top two bits), then each
// group of three bytes gives four.
std::string compressGuid(const Uuid& uuid) {
  std::string out(22, '0');
  out[0] = kAlphabet[uuid[0] >> 6];
  out[1] = kAlphabet[uuid[0] & 0x3F];
  for (int g = 0; g < 5; ++g) {
    const std::size_t at = 1 + 3 * static_cast<std::size_t>(g);
    std::uint32_t v =
        (std::uint32_t{uuid[at]} << 16) | (std::uint32_t{uuid[at + 1]} << 8) | uuid[at + 2];
    for (int c = 3; c >= 0; --c) {
      out[2 + 4 * static_cast<std::size_t>(g) + static_cast<std::size_t>(c)] = kAlphabet[v & 0x3F];
      v >>= 6;
    }
  }
  return out;
}

Uuid expandGuid(std::string_view compressed) {
  if (compressed.size() != 22) {
    throw Error("GlobalId '" + std::string(compressed) + "' is not 22 characters long");
  }
  int digits[22];
  for (std::size_t k = 0; k < 22; ++k) {
    digits[k] = digitValue(compressed[k]);
    if (digits[k] < 0) {
      throw Error("GlobalId '" + std::string(compressed) +
                  "' has a character outside the alphabet");
    }
  }
  if (digits[0] > 3) throw Error("GlobalId '" + std::string(compressed) + "' exceeds 128 bits");
  Uuid u{};
  u[0] = static_cast<std::uint8_t>(digits[0] << 6 | digits[1]);
  for (int g = 0; g < 5; ++g) {
    std::uint32_t v = 0;
    for (int c = 0; c < 4; ++c) v = v << 6 | static_cast<std::uint32_t>(digits[2 + 4 * g + c]);
    const std::size_t at = 1 + 3 * static_cast<std::size_t>(g);
    u[at] = static_cast<std::uint8_t>(v >> 16);
    u[at + 1] = static_cast<std::uint8_t>(v >> 8);
    u[at + 2] = static_cast<std::uint8_t>(v);
  }
  return u;
}

}  // namespace ifc
