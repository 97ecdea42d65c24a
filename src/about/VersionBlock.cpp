// SPDX-License-Identifier: MIT
#include "about/VersionBlock.h"

#include <algorithm>

namespace {

std::u16string Utf16Of(const std::string& text) {
    std::u16string result;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(code));
        }
    }
    return result;
}

class BlockWriter {
public:
    std::vector<std::uint8_t> bytes;

    void Pad() {
        while (bytes.size() % 4 != 0)
            bytes.push_back(0);
    }
    void Put16(std::size_t at, std::uint16_t value) {
        bytes[at] = static_cast<std::uint8_t>(value);
        bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    void Append16(std::uint16_t value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void Append32(std::uint32_t value) {
        Append16(static_cast<std::uint16_t>(value));
        Append16(static_cast<std::uint16_t>(value >> 16));
    }
    void AppendText(const std::u16string& text) {
        for (const char16_t unit : text)
            Append16(static_cast<std::uint16_t>(unit));
        Append16(0);
    }

    // Opens a node; the value and children follow; Close fills in its length.
    std::size_t Open(const std::string& key, std::uint16_t valueLength, bool text) {
        Pad();
        const std::size_t start = bytes.size();
        Append16(0);
        Append16(valueLength);
        Append16(text ? 1 : 0);
        AppendText(Utf16Of(key));
        Pad();
        return start;
    }
    void Close(std::size_t start) { Put16(start, static_cast<std::uint16_t>(bytes.size() - start)); }
};

// Reads the nodes of a block without ever leaving it.
class BlockReader {
public:
    explicit BlockReader(const std::vector<std::uint8_t>& block) : block_(block) {}

    struct Node {
        std::size_t end = 0;
        std::u16string key;
        TVersionValue value;
        std::size_t children = 0;
    };

    // The node at offset, which must end by limit.
    std::optional<Node> NodeAt(std::size_t offset, std::size_t limit) const {
        if (offset + 6 > limit)
            return std::nullopt;
        const std::size_t length = Read16(offset);
        const std::uint16_t valueLength = Read16(offset + 2);
        const std::uint16_t type = Read16(offset + 4);
        if (length < 6 || offset + length > limit)
            return std::nullopt;
        Node node;
        node.end = offset + length;
        std::size_t at = offset + 6;
        for (;; at += 2) {
            if (at + 2 > node.end)
                return std::nullopt; // key without terminator
            const std::uint16_t unit = Read16(at);
            if (unit == 0)
                break;
            node.key.push_back(static_cast<char16_t>(unit));
        }
        const std::size_t valueStart = std::min(Align(at + 2), node.end);
        const std::size_t valueBytes = type == 1 ? 2 * static_cast<std::size_t>(valueLength) : valueLength;
        const std::size_t valueEnd = std::min(valueStart + valueBytes, node.end);
        node.value = {block_.data() + valueStart, valueEnd - valueStart, type == 1};
        node.children = std::min(Align(valueEnd), node.end);
        return node;
    }

    std::optional<Node> Child(const Node& parent, std::u16string_view key) const {
        std::size_t at = parent.children;
        while (at < parent.end) {
            std::optional<Node> child = NodeAt(at, parent.end);
            if (!child)
                return std::nullopt;
            if (SameKey(child->key, key))
                return child;
            at = Align(child->end);
        }
        return std::nullopt;
    }

private:
    static std::size_t Align(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }
    std::uint16_t Read16(std::size_t at) const {
        return static_cast<std::uint16_t>(block_[at] | block_[at + 1] << 8);
    }
    static bool SameKey(std::u16string_view a, std::u16string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const auto lower = [](char16_t c) {
                return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
            };
            if (lower(a[i]) != lower(b[i]))
                return false;
        }
        return true;
    }

    const std::vector<std::uint8_t>& block_;
};

} // namespace

std::vector<std::uint8_t> BuildVersionBlock(const TVersionInfoContents& contents) {
    BlockWriter out;
    const std::size_t root =
        out.Open("VS_VERSION_INFO", static_cast<std::uint16_t>(FixedFileInfoSize), false);
    const TFixedFileInfo& fixed = contents.Fixed;
    for (const std::uint32_t field :
         {fixed.Signature, fixed.StrucVersion, fixed.FileVersionMS, fixed.FileVersionLS,
          fixed.ProductVersionMS, fixed.ProductVersionLS, fixed.FileFlagsMask, fixed.FileFlags, fixed.FileOS,
          fixed.FileType, fixed.FileSubtype, fixed.FileDateMS, fixed.FileDateLS})
        out.Append32(field);

    if (!contents.StringTables.empty()) {
        const std::size_t fileInfo = out.Open("StringFileInfo", 0, true);
        for (const TVersionStringTable& table : contents.StringTables) {
            const std::size_t tableStart = out.Open(table.Key, 0, true);
            for (const auto& [name, value] : table.Strings) {
                const std::u16string text = Utf16Of(value);
                const std::size_t string = out.Open(name, static_cast<std::uint16_t>(text.size() + 1), true);
                out.AppendText(text);
                out.Close(string);
            }
            out.Close(tableStart);
        }
        out.Close(fileInfo);
    }
    if (!contents.Translations.empty()) {
        const std::size_t varInfo = out.Open("VarFileInfo", 0, true);
        const std::size_t var =
            out.Open("Translation", static_cast<std::uint16_t>(4 * contents.Translations.size()), false);
        for (const std::uint32_t translation : contents.Translations)
            out.Append32(translation);
        out.Close(var);
        out.Close(varInfo);
    }
    out.Close(root);
    return out.bytes;
}

std::optional<TVersionValue> QueryVersionValue(const std::vector<std::uint8_t>& block,
                                               std::string_view path) {
    const BlockReader reader(block);
    std::optional<BlockReader::Node> node = reader.NodeAt(0, block.size());
    std::size_t at = 0;
    while (node && at < path.size()) {
        const std::size_t next = std::min(path.find('\\', at), path.size());
        const std::string_view part = path.substr(at, next - at);
        at = next + 1;
        if (!part.empty())
            node = reader.Child(*node, std::u16string(part.begin(), part.end()));
    }
    if (!node)
        return std::nullopt;
    return node->value;
}

std::optional<TFixedFileInfo> FixedFileInfoOf(const TVersionValue& value) {
    if (value.Size < FixedFileInfoSize)
        return std::nullopt;
    std::uint32_t fields[13];
    for (std::size_t i = 0; i < 13; ++i) {
        const std::uint8_t* bytes = value.Data + 4 * i;
        fields[i] = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                    static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    }
    if (fields[0] != FixedFileInfoSignature)
        return std::nullopt;
    TFixedFileInfo info;
    info.Signature = fields[0];
    info.StrucVersion = fields[1];
    info.FileVersionMS = fields[2];
    info.FileVersionLS = fields[3];
    info.ProductVersionMS = fields[4];
    info.ProductVersionLS = fields[5];
    info.FileFlagsMask = fields[6];
    info.FileFlags = fields[7];
    info.FileOS = fields[8];
    info.FileType = fields[9];
    info.FileSubtype = fields[10];
    info.FileDateMS = fields[11];
    info.FileDateLS = fields[12];
    return info;
}

std::u16string VersionText(const TVersionValue& value) {
    std::u16string text;
    for (std::size_t at = 0; at + 2 <= value.Size; at += 2) {
        const auto unit = static_cast<char16_t>(value.Data[at] | value.Data[at + 1] << 8);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}
