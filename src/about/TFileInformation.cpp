// SPDX-License-Identifier: MIT
#include "about/TFileInformation.h"

#include "about/ElfSection.h"

#include <QFile>

TFileInformation::TFileInformation(const QString& fileName) : FileName_(fileName) {
    std::optional<std::vector<std::uint8_t>> block =
        ReadElfSection(QFile::encodeName(fileName).toStdString(), VersionSectionName);
    if (!block || block->empty())
        return;
    InfoBuffer_ = std::move(*block);
    HasInfo_ = true;
    if (const std::optional<TVersionValue> root = QueryVersionValue(InfoBuffer_, "\\"))
        FixedInfo_ = FixedFileInfoOf(*root);
    // Applications, libraries, virtual devices and static libraries; not drivers or fonts.
    KnownType_ = FixedInfo_ && (FixedInfo_->FileType == 1 || FixedInfo_->FileType == 2 ||
                                FixedInfo_->FileType == 5 || FixedInfo_->FileType == 7);
    ReadTranslation();
}

void TFileInformation::ReadTranslation() {
    if (!HasInfo_ || !KnownType_)
        return;
    const std::optional<TVersionValue> translation =
        QueryVersionValue(InfoBuffer_, "\\VarFileInfo\\Translation");
    if (!translation || translation->Size < 4)
        return;
    const std::uint8_t* entry = translation->Data;
    LangId_ = static_cast<std::uint16_t>(entry[0] | entry[1] << 8);
    CodePage_ = static_cast<std::uint16_t>(entry[2] | entry[3] << 8);
    TranslationKey_ = QStringLiteral("%1%2")
                          .arg(LangId_, 4, 16, QLatin1Char('0'))
                          .arg(CodePage_, 4, 16, QLatin1Char('0'))
                          .toUpper();
}

void TFileInformation::GetFileVersion(QString& text) const {
    if (!HasInfo_ || !KnownType_)
        return;
    const std::string path = "\\StringFileInfo\\" + TranslationKey_.toStdString() + "\\FileVersion\\";
    if (const std::optional<TVersionValue> value = QueryVersionValue(InfoBuffer_, path)) {
        const std::u16string version = VersionText(*value);
        text = QString::fromUtf16(version.data(), static_cast<qsizetype>(version.size()));
    }
}
