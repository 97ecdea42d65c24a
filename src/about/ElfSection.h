// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The contents of the named section of an ELF file (32 or 64 bit, either byte order), read from the
// file through its section headers. None when the file cannot be read, is not ELF, has no such
// section or one without contents, or is damaged: every offset is checked against the file.
std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& path,
                                                        const std::string& sectionName);
