// The settings catalogue against the resource script and the pages' lists:
// a setting's label, group and switch name are the texts its page's template
// shows beside one input control, of the setting's kind; a radio pair shows
// the setting's two texts, and a drop-down list is filled from its list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "RcText.h"
#include "core/SettingsCatalogue.h"
#include "ui/PageLists.h"

namespace {

using namespace qvhelp;

std::string ReadSource(const char* path)
{
    std::ifstream in(std::filesystem::path(QV_SOURCE_DIR) / path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An input control (list, edit box, check box, first button of a radio
// pair) with the texts the template shows beside it.
struct Input {
    std::string id, group, label, switchName;
    std::vector<std::string> options;  // a radio pair's two texts
    qv::SettingKind kind;
};

bool Has(const DialogControl& c, const char* flag) { return c.source.find(flag) != std::string::npos; }

std::vector<Input> Inputs(const std::vector<DialogControl>& all)
{
    std::vector<Input> inputs;
    const DialogControl* group = nullptr;  // the last group box
    const DialogControl* text = nullptr;   // the last static text after it
    for (std::size_t k = 0; k < all.size(); ++k) {
        const DialogControl& c = all[k];
        const bool radio = Has(c, "BS_AUTORADIOBUTTON"), check = Has(c, "BS_AUTOCHECKBOX");
        if (c.visible && c.statement == "GROUPBOX") {
            group = &c;
            text = nullptr;
        }
        if (c.visible && c.statement == "LTEXT")
            text = &c;
        if (!c.visible || !((radio && Has(c, "WS_GROUP")) || check || c.statement == "COMBOBOX" ||
                            c.statement == "EDITTEXT"))
            continue;
        const DialogControl* label = check ? &c : radio || !text ? group : text;
        Input in{c.id, "", PlainLabel(label->text), "", {}, qv::SettingKind::OnOff};
        if (radio) {
            in.switchName = text ? PlainLabel(text->text) : "";
            in.options = {PlainLabel(c.text), PlainLabel(all.at(k + 1).text)};
        } else if (!check) {
            in.kind = c.statement == "COMBOBOX" ? qv::SettingKind::Choice : qv::SettingKind::Integer;
        }
        for (const DialogControl& box : all)  // the group box around it, unless that is its label
            if (box.statement == "GROUPBOX" && &box != label && c.x >= box.x && c.x < box.x + box.width &&
                c.y >= box.y && c.y < box.y + box.height)
                in.group = PlainLabel(box.text);
        inputs.push_back(in);
    }
    return inputs;
}

TEST(CatalogueTemplates, EachSettingIsShownBesideOneControlWithItsTexts)
{
    const std::string rc = ReadSource("res/qvx4k5.rc");
    const Defines ids = ReadDefines(ReadSource("res/resource.h"));
    const std::map<std::string, std::string, std::less<>> templates = {
        {"機能選択", "IDD_PAGE_SELECT"}, {"パラメータ設定", "IDD_PAGE_PARAM"}, {"ＭＳＷ１", "IDD_PAGE_MSW1"},
        {"ＭＳＷ２", "IDD_PAGE_MSW2"},   {"ＭＳＷ３", "IDD_PAGE_MSW3"},        {"ＭＳＷ４", "IDD_PAGE_MSW4"},
        {"書式の設定", "IDD_FORM_SETUP"}};
    std::map<std::string, std::vector<Input>> inputs;
    for (const auto& entry : templates)
        inputs[entry.second] = Inputs(DialogControls(rc, entry.second));
    std::set<std::string> shown;
    for (const qv::SettingDef& def : qv::Settings()) {
        const std::string dialog =
            templates.find(def.page.starts_with("書式の設定") ? "書式の設定" : def.page)->second;
        std::vector<const Input*> found;
        for (const Input& in : inputs[dialog])
            if (in.label == def.label && in.group == def.group)
                found.push_back(&in);
        EXPECT_EQ(found.size(), 1u) << def.key << ": \"" << def.label << "\" in group \"" << def.group
                                    << "\" is not the text beside one control of " << dialog;
        if (found.size() != 1)
            continue;
        const Input& in = *found[0];
        const std::vector<std::string> texts(def.texts.begin(), def.texts.end());
        EXPECT_EQ(in.kind, def.kind) << def.key;
        EXPECT_EQ(in.switchName, def.switchName) << def.key;
        if (!in.options.empty()) {
            EXPECT_EQ(in.options, texts) << def.key;
        }
        if (in.kind == qv::SettingKind::Choice) {
            std::vector<std::string> filled;
            for (const PageList& list : kPageLists)
                if (list.page == std::stoi(ids.at(dialog)) && list.control == std::stoi(ids.at(in.id)))
                    filled.assign(list.entries.begin(), list.entries.end());
            EXPECT_EQ(filled, texts) << def.key << ": the list " << in.id << " is filled with";
        }
        shown.insert(dialog + " " + in.id);
    }
    for (const auto& [dialog, list] : inputs)
        for (const Input& in : list)
            EXPECT_TRUE(shown.contains(dialog + " " + in.id))
                << dialog << " " << in.id << " shows no setting";
}

}  // namespace
