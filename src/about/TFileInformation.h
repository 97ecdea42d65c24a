// SPDX-License-Identifier: MIT
#pragma once

#include "about/VersionBlock.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The version information of one file: the version block stored in the file's ELF section
// VersionSectionName, read when the object is created. Texts are read only for the known file
// types, and only from the string table of the first translation entry.
class TFileInformation {
public:
    explicit TFileInformation(const QString& fileName);

    // Stores the FileVersion text in text; leaves text unchanged when there is none to be had.
    void GetFileVersion(QString& text) const;

    const QString& FileName() const { return FileName_; }
    bool HasInfo() const { return HasInfo_; }
    const std::optional<TFixedFileInfo>& FixedInfo() const { return FixedInfo_; }
    bool KnownType() const { return KnownType_; }
    std::uint16_t LangId() const { return LangId_; }
    std::uint16_t CodePage() const { return CodePage_; }
    const QString& TranslationKey() const { return TranslationKey_; }

private:
    void ReadTranslation();

    QString FileName_;
    std::vector<std::uint8_t> InfoBuffer_;
    bool HasInfo_ = false;
    std::optional<TFixedFileInfo> FixedInfo_;
    bool KnownType_ = false;
    std::uint16_t LangId_ = 0;
    std::uint16_t CodePage_ = 0;
    QString TranslationKey_;
};
