// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Small ELF files made to measure: a null section, the given sections and the section name table,
// in either word size and byte order.
struct ElfTestSection {
    std::string name;
    std::vector<std::uint8_t> contents;
    std::uint32_t type = 1; // SHT_PROGBITS
};

struct ElfLayout {
    bool wide = true;
    bool bigEndian = false;
};

class ElfTestFile {
public:
    static std::vector<std::uint8_t> Make(const std::vector<ElfTestSection>& sections,
                                          ElfLayout layout = {}) {
        ElfTestFile file(layout);
        return file.Build(sections);
    }

    static bool Write(const QString& path, const std::vector<std::uint8_t>& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        return file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
    }

    // Where the 64-bit little-endian header keeps the section count and the names' section index.
    static constexpr std::size_t SectionCountAt = 60;
    static constexpr std::size_t NamesIndexAt = 62;

private:
    explicit ElfTestFile(ElfLayout layout) : layout_(layout) {}

    void Put(std::size_t at, std::uint64_t value, int width) {
        if (bytes_.size() < at + static_cast<std::size_t>(width))
            bytes_.resize(at + static_cast<std::size_t>(width));
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (layout_.bigEndian ? width - 1 - i : i);
            bytes_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> shift);
        }
    }
    void Align(std::size_t to) {
        while (bytes_.size() % to != 0)
            bytes_.push_back(0);
    }

    std::vector<std::uint8_t> Build(const std::vector<ElfTestSection>& sections) {
        const bool wide = layout_.wide;
        bytes_.assign(wide ? 64 : 52, 0);
        bytes_[0] = 0x7F;
        bytes_[1] = 'E';
        bytes_[2] = 'L';
        bytes_[3] = 'F';
        bytes_[4] = wide ? 2 : 1;
        bytes_[5] = layout_.bigEndian ? 2 : 1;
        bytes_[6] = 1;
        Put(16, 2, 2); // executable
        Put(18, wide ? 62 : 3, 2);
        Put(20, 1, 4);

        std::string names(1, '\0');
        std::vector<std::uint64_t> offsets;
        std::vector<std::uint32_t> nameOffsets;
        for (const ElfTestSection& section : sections) {
            Align(4);
            offsets.push_back(bytes_.size());
            if (section.type != 8)
                bytes_.insert(bytes_.end(), section.contents.begin(), section.contents.end());
            nameOffsets.push_back(static_cast<std::uint32_t>(names.size()));
            names += section.name + '\0';
        }
        const std::uint32_t namesName = static_cast<std::uint32_t>(names.size());
        names += std::string(".shstrtab") + '\0';
        const std::uint64_t namesOffset = bytes_.size();
        bytes_.insert(bytes_.end(), names.begin(), names.end());
        Align(8);

        const std::uint64_t table = bytes_.size();
        const std::size_t entry = wide ? 64 : 40;
        const std::size_t count = sections.size() + 2;
        bytes_.resize(table + count * entry, 0);
        const auto header = [&](std::size_t index, std::uint32_t name, std::uint32_t type,
                                std::uint64_t offset, std::uint64_t size) {
            const std::size_t at = table + index * entry;
            Put(at, name, 4);
            Put(at + 4, type, 4);
            Put(at + (wide ? 24 : 16), offset, wide ? 8 : 4);
            Put(at + (wide ? 32 : 20), size, wide ? 8 : 4);
        };
        for (std::size_t i = 0; i < sections.size(); ++i)
            header(i + 1, nameOffsets[i], sections[i].type, offsets[i], sections[i].contents.size());
        header(count - 1, namesName, 3, namesOffset, names.size());

        Put(wide ? 40 : 32, table, wide ? 8 : 4);
        Put(wide ? 52 : 40, wide ? 64 : 52, 2);
        Put(wide ? 58 : 46, entry, 2);
        Put(wide ? 60 : 48, count, 2);
        Put(wide ? 62 : 50, count - 1, 2);
        return bytes_;
    }

    ElfLayout layout_;
    std::vector<std::uint8_t> bytes_;
};
