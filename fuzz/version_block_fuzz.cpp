// SPDX-License-Identifier: MIT
// Version information from a file the about box is pointed at: the bytes are read both as a
// version block (the lookups the about box makes) and as a whole file (ELF section search, then
// the block inside it, through TFileInformation).
#include "FuzzTarget.h"

#include "about/ElfSection.h"
#include "about/TFileInformation.h"
#include "about/VersionBlock.h"

#include <QDir>
#include <QFile>
#include <string>
#include <vector>

namespace {

void CheckInside(const std::vector<std::uint8_t>& block, const TVersionValue& value) {
    FUZZ_CHECK(value.Size == 0 || (value.Data >= block.data() && value.Size <= block.size() &&
                                   value.Data + value.Size <= block.data() + block.size()));
}

void QueryBlock(const std::vector<std::uint8_t>& block) {
    if (const std::optional<TVersionValue> root = QueryVersionValue(block, "\\")) {
        CheckInside(block, *root);
        (void)FixedFileInfoOf(*root);
    }
    std::string key = "080403A8";
    if (const std::optional<TVersionValue> translation =
            QueryVersionValue(block, "\\VarFileInfo\\Translation")) {
        CheckInside(block, *translation);
        if (translation->Size >= 4) {
            char text[9];
            std::snprintf(text, sizeof text, "%02X%02X%02X%02X", translation->Data[1], translation->Data[0],
                          translation->Data[3], translation->Data[2]);
            key = text;
        }
    }
    for (const char* name : {"FileVersion", "ProductName", "CompanyName", "FileVersion\\", "\\"}) {
        if (const std::optional<TVersionValue> value =
                QueryVersionValue(block, "\\StringFileInfo\\" + key + "\\" + name)) {
            CheckInside(block, *value);
            (void)VersionText(*value);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QueryBlock(std::vector<std::uint8_t>(data, data + size));

    const QString path = QDir(ScratchFolder()).filePath(QStringLiteral("program"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    if (const std::optional<std::vector<std::uint8_t>> section =
            ReadElfSection(QFile::encodeName(path).toStdString(), VersionSectionName)) {
        FUZZ_CHECK(section->size() <= size);
        QueryBlock(*section);
    }
    const TFileInformation information(path);
    QString version = QStringLiteral("(none)");
    information.GetFileVersion(version);
    return 0;
}
