// SPDX-License-Identifier: MIT
#include "about/ElfSection.h"

#include <algorithm>
#include <fstream>
#include <limits>

namespace {

constexpr std::uint32_t SectionWithoutContents = 8; // SHT_NOBITS
constexpr std::uint64_t LargestSection = 1 << 20;   // far more than any version block

class ElfFile {
public:
    explicit ElfFile(const std::string& path) : file_(path, std::ios::binary) {
        if (file_) {
            file_.seekg(0, std::ios::end);
            const std::streamoff end = file_.tellg();
            size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
        }
    }

    std::uint64_t Size() const { return size_; }

    // Bytes [offset, offset + count) of the file, or none when they are not all there.
    std::optional<std::vector<std::uint8_t>> Read(std::uint64_t offset, std::uint64_t count) {
        if (offset > size_ || count > size_ - offset)
            return std::nullopt;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
        file_.clear();
        file_.seekg(static_cast<std::streamoff>(offset));
        if (!file_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count)))
            return std::nullopt;
        return bytes;
    }

private:
    std::ifstream file_;
    std::uint64_t size_ = 0;
};

// Reads numbers of the file's byte order from a buffer whose size the caller has checked.
struct Numbers {
    bool bigEndian;
    std::uint64_t Get(const std::vector<std::uint8_t>& bytes, std::size_t at, int width) const {
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            const std::uint64_t byte = bytes[at + static_cast<std::size_t>(bigEndian ? i : width - 1 - i)];
            value = (value << 8) | byte;
        }
        return value;
    }
};

struct SectionHeader {
    std::uint32_t name;
    std::uint32_t type;
    std::uint64_t offset;
    std::uint64_t size;
    std::uint32_t link;
};

} // namespace

std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& path,
                                                        const std::string& sectionName) {
    ElfFile file(path);
    const std::optional<std::vector<std::uint8_t>> ident = file.Read(0, 16);
    if (!ident || (*ident)[0] != 0x7F || (*ident)[1] != 'E' || (*ident)[2] != 'L' || (*ident)[3] != 'F')
        return std::nullopt;
    const bool wide = (*ident)[4] == 2;
    if ((*ident)[4] != 1 && !wide)
        return std::nullopt;
    if ((*ident)[5] != 1 && (*ident)[5] != 2)
        return std::nullopt;
    const Numbers numbers{(*ident)[5] == 2};

    const std::optional<std::vector<std::uint8_t>> header = file.Read(0, wide ? 64 : 52);
    if (!header)
        return std::nullopt;
    const std::uint64_t tableOffset = numbers.Get(*header, wide ? 40 : 32, wide ? 8 : 4);
    const std::uint64_t entrySize = numbers.Get(*header, wide ? 58 : 46, 2);
    std::uint64_t count = numbers.Get(*header, wide ? 60 : 48, 2);
    std::uint64_t namesIndex = numbers.Get(*header, wide ? 62 : 50, 2);
    if (tableOffset == 0 || entrySize < (wide ? 64u : 40u))
        return std::nullopt;

    const auto sectionHeader = [&](std::uint64_t index) -> std::optional<SectionHeader> {
        if (index > (std::numeric_limits<std::uint64_t>::max() - tableOffset) / entrySize)
            return std::nullopt;
        const std::optional<std::vector<std::uint8_t>> bytes =
            file.Read(tableOffset + index * entrySize, entrySize);
        if (!bytes)
            return std::nullopt;
        return SectionHeader{static_cast<std::uint32_t>(numbers.Get(*bytes, 0, 4)),
                             static_cast<std::uint32_t>(numbers.Get(*bytes, 4, 4)),
                             numbers.Get(*bytes, wide ? 24 : 16, wide ? 8 : 4),
                             numbers.Get(*bytes, wide ? 32 : 20, wide ? 8 : 4),
                             static_cast<std::uint32_t>(numbers.Get(*bytes, wide ? 40 : 24, 4))};
    };

    // Files with very many sections keep the count and the names' index in section 0.
    if (count == 0 || namesIndex == 0xFFFF) {
        const std::optional<SectionHeader> first = sectionHeader(0);
        if (!first)
            return std::nullopt;
        if (count == 0)
            count = first->size;
        if (namesIndex == 0xFFFF)
            namesIndex = first->link;
    }
    if (count == 0 || namesIndex >= count || count > file.Size() / entrySize)
        return std::nullopt;

    const std::optional<SectionHeader> namesSection = sectionHeader(namesIndex);
    if (!namesSection || namesSection->type == SectionWithoutContents)
        return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> names =
        file.Read(namesSection->offset, namesSection->size);
    if (!names)
        return std::nullopt;
    const auto nameIs = [&](std::uint32_t at) {
        if (at > names->size() || sectionName.size() + 1 > names->size() - at)
            return false;
        return std::equal(sectionName.begin(), sectionName.end(), names->begin() + at) &&
               (*names)[at + sectionName.size()] == 0;
    };

    for (std::uint64_t index = 1; index < count; ++index) {
        const std::optional<SectionHeader> section = sectionHeader(index);
        if (!section)
            return std::nullopt;
        if (!nameIs(section->name))
            continue;
        if (section->type == SectionWithoutContents || section->size > LargestSection)
            return std::nullopt;
        return file.Read(section->offset, section->size);
    }
    return std::nullopt;
}
