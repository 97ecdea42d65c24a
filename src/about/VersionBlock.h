// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The program's version information in the layout of the Windows version resource (VS_VERSIONINFO):
// nodes of wLength, wValueLength, wType, a zero-terminated UTF-16 key, the value and the children,
// each aligned to 32 bits, all numbers little-endian. The build writes the block into the ELF
// section VersionSectionName of the executable.

inline constexpr char VersionSectionName[] = ".bfs_version";
inline constexpr std::uint32_t FixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::size_t FixedFileInfoSize = 52;

// VS_FIXEDFILEINFO.
struct TFixedFileInfo {
    std::uint32_t Signature = FixedFileInfoSignature;
    std::uint32_t StrucVersion = 0x00010000;
    std::uint32_t FileVersionMS = 0;
    std::uint32_t FileVersionLS = 0;
    std::uint32_t ProductVersionMS = 0;
    std::uint32_t ProductVersionLS = 0;
    std::uint32_t FileFlagsMask = 0x3F;
    std::uint32_t FileFlags = 0;
    std::uint32_t FileOS = 0;
    std::uint32_t FileType =
        1; // 1 application, 2 library, 3 driver, 4 font, 5 virtual device, 7 static library
    std::uint32_t FileSubtype = 0;
    std::uint32_t FileDateMS = 0;
    std::uint32_t FileDateLS = 0;
};

struct TVersionStringTable {
    std::string Key; // language and code page as 8 hexadecimal digits, "080403A8"
    std::vector<std::pair<std::string, std::string>> Strings; // name, value (UTF-8)
};

struct TVersionInfoContents {
    TFixedFileInfo Fixed;
    std::vector<TVersionStringTable> StringTables;
    std::vector<std::uint32_t> Translations; // language in the low 16 bits, code page in the high 16
};

std::vector<std::uint8_t> BuildVersionBlock(const TVersionInfoContents& contents);

// A value found in a block: its bytes (inside the block) and whether the node is marked as text.
struct TVersionValue {
    const std::uint8_t* Data = nullptr;
    std::size_t Size = 0;
    bool IsText = false;
};

// Looks a value up by path, as the platform's VerQueryValue does: "\" is the root's value (the
// fixed file information), "\VarFileInfo\Translation" and "\StringFileInfo\080403A8\FileVersion"
// name nodes below it. Keys compare without regard to ASCII letter case; empty path parts (a
// trailing separator) are ignored. Any damage to the block makes the lookup fail, never read
// outside the block.
std::optional<TVersionValue> QueryVersionValue(const std::vector<std::uint8_t>& block, std::string_view path);

// The fixed file information of a root value, when it has the size and signature of one.
std::optional<TFixedFileInfo> FixedFileInfoOf(const TVersionValue& value);

// A text value up to its zero terminator (or its end when the terminator is missing).
std::u16string VersionText(const TVersionValue& value);
