#include "JsonFrame.h"

#include <array>
#include <charconv>

#include "Utf8.h"
#include "core/FormRecord.h"
#include "core/SettingsCatalogue.h"

namespace qv::cli {

namespace {

// Bits of each byte that some setting carries.
std::array<std::uint8_t, kBlockSize> SettingBits()
{
    std::array<std::uint8_t, kBlockSize> bits{};
    for (const SettingDef& def : Settings())
        for (std::size_t i = def.span.offset; i < def.span.offset + def.span.length; ++i)
            bits[i] |= def.span.mask;
    return bits;
}

// True when the record's text is more than its values: writing them back
// would change it ("5@" for 66), or the form dialog would refuse one of them,
// which import takes only where the base holds it already.
bool RecordHasOwnText(const PanelLoad& load, int form)
{
    const std::size_t start = kFormOffsets[static_cast<std::size_t>(form)];
    FormRecordBuffer record{};
    std::copy_n(load.block.begin() + static_cast<std::ptrdiff_t>(start), FormRecordSize(form),
                record.begin());
    FormRecordBuffer rewritten = record;
    WriteFormRecord(ParseFormRecord(record, LayoutOf(form)), LayoutOf(form), rewritten);
    if (rewritten != record)
        return true;
    for (const SettingDef& def : Settings()) {
        const auto* field = std::get_if<binding::Form>(&def.binding);
        if (field && field->form == form && !Accepts(def, GetValue(def, load.values)))
            return true;
    }
    return false;
}

std::optional<std::size_t> Offset(const std::string& key)
{
    std::size_t offset = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), offset);
    const bool canonical = !key.empty() && (key == "0" || key[0] != '0');
    if (error != std::errc() || end != key.data() + key.size() || !canonical || offset >= kBlockSize)
        return std::nullopt;
    return offset;
}

std::optional<std::vector<std::uint8_t>> Bytes(const Json& value)
{
    if (!value.is_string())
        return std::nullopt;
    const std::string& text = value.get_ref<const std::string&>();
    if (text.empty() || text.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        std::uint8_t b = 0;
        const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, b, 16);
        if (error != std::errc() || end != text.data() + i + 2)
            return std::nullopt;
        bytes.push_back(b);
    }
    return bytes;
}

}  // namespace

Json FrameToJson(const PanelLoad& load)
{
    const SettingsBlock& saved = load.block;
    const auto settingBits = SettingBits();
    std::array<bool, kBlockSize> kept{};
    for (std::size_t i = 0; i < kBlockSize; ++i)
        kept[i] = ((saved[i] ^ FactoryDefaults[i]) & ~settingBits[i]) != 0;
    for (int form = 0; form < 5; ++form)
        if (RecordHasOwnText(load, form))
            for (std::size_t i = kFormOffsets[static_cast<std::size_t>(form)], n = 0;
                 n < FormRecordSize(form); ++i, ++n)
                kept[i] = kept[i] || saved[i] != FactoryDefaults[i];

    Json frame = Json::object();
    for (std::size_t i = 0; i < kBlockSize;) {
        if (!kept[i]) {
            ++i;
            continue;
        }
        std::vector<std::uint8_t> run;
        const std::size_t start = i;
        for (; i < kBlockSize && kept[i]; ++i)
            run.push_back(saved[i]);
        frame[std::to_string(start)] = HexText(run);
    }
    return frame;
}

bool FrameFromJson(const Json& frame, SettingsBlock& block, std::vector<std::string>& faults)
{
    if (!frame.is_object()) {
        faults.push_back("\"frame\" がオブジェクトではありません。");
        return false;
    }
    const std::size_t before = faults.size();
    SettingsBlock result = block;
    std::array<bool, kBlockSize> taken{};
    for (const auto& [key, value] : frame.items()) {
        const std::string where = "frame \"" + MessageText(key) + "\": ";
        const auto offset = Offset(key);
        const auto bytes = Bytes(value);
        if (!offset) {
            faults.push_back(where + "バイトの位置は 0 から " + std::to_string(kBlockSize - 1) +
                             " までの 10 進数です。");
        } else if (!bytes) {
            faults.push_back(where + "値は \"3540\" のような 16 進 2 桁ずつのバイト列の文字列です。");
        } else if (*offset + bytes->size() > kBlockSize) {
            faults.push_back(where + std::to_string(bytes->size()) + " バイトでは設定の終わり（" +
                             std::to_string(kBlockSize) + " バイト）を越えます。");
        } else {
            for (std::size_t i = 0; i < bytes->size(); ++i) {
                if (taken[*offset + i]) {
                    faults.push_back(where + "ほかの項目と同じバイトを含んでいます。");
                    break;
                }
                taken[*offset + i] = true;
                result[*offset + i] = (*bytes)[i];
            }
        }
    }
    if (faults.size() != before)
        return false;
    block = result;
    return true;
}

}  // namespace qv::cli
