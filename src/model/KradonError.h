// The program's error: a number, the routine it came from and a description, as every failure
// of the core carries them to whoever reports it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace kradon {

class KradonError : public std::runtime_error {
public:
    KradonError(std::int32_t number, std::string source, const std::string& description)
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}
    std::int32_t number() const noexcept { return number_; }
    const std::string& source() const noexcept { return source_; }

private:
    std::int32_t number_;
    std::string source_;
};

/// Error numbers of our own, used where no platform error number applies.
namespace ErrorNumber {
inline constexpr std::int32_t ObjectErrorBase = static_cast<std::int32_t>(0x80040000u);
inline constexpr std::int32_t TypeMismatch = 13;       // a text that is not a number
inline constexpr std::int32_t SubscriptOutOfRange = 9; // a record number beyond the lists
inline constexpr std::int32_t DivisionByZero = 11;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t InvalidArgument = 5; // e.g. square root of a negative number
inline constexpr std::int32_t BadFileFormat = 321; // a damaged or foreign file
inline constexpr std::int32_t FileIo = 75;         // a path that cannot be opened or written
} // namespace ErrorNumber

/// The routines the core's errors come from, as KradonError::source gives them.
namespace ErrorSource {
inline constexpr const char* Calcs = "modCalcs"; // the analysis: its solution and its driver
inline constexpr const char* Mesh = "modMesh";   // mesh generation
} // namespace ErrorSource

} // namespace kradon
