#include "Manual.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "HelpText.h"

namespace qvhelp {

namespace fs = std::filesystem;

const fs::path& SourceDir()
{
    static const fs::path dir{QV_SOURCE_DIR};
    return dir;
}

const fs::path& HelpDir()
{
    static const fs::path dir = SourceDir() / "res" / "help";
    return dir;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> GeneratedTopics()
{
    std::vector<fs::path> paths;
    std::stringstream list{std::string(QV_GENERATED_HELP_TOPICS)};
    for (std::string item; std::getline(list, item, '|');)
        if (!item.empty())
            paths.emplace_back(item);
    return paths;
}

bool Manual::Has(const std::string& topic, const std::string& needle) const
{
    const auto it = squeezed.find(topic);
    return it != squeezed.end() && it->second.find(needle) != std::string::npos;
}

bool Manual::HasAnywhere(const std::string& needle) const
{
    return std::ranges::any_of(squeezed,
                               [&](const auto& t) { return t.second.find(needle) != std::string::npos; });
}

const Manual& TheManual()
{
    static const Manual manual = [] {
        Manual m;
        for (const auto& entry : fs::directory_iterator(HelpDir()))
            if (entry.path().extension() == ".htm")
                m.html[entry.path().filename().string()] = ReadFile(entry.path());
        // A topic the build makes replaces its frame of the same name.
        for (const fs::path& path : GeneratedTopics())
            m.html[path.filename().string()] = ReadFile(path);
        for (const auto& [name, html] : m.html)
            m.squeezed[name] = Squeezed(TopicText(html));
        return m;
    }();
    return manual;
}

const std::string& Rc()
{
    static const std::string rc = ReadFile(SourceDir() / "res" / "qvx4k5.rc");
    return rc;
}

const Defines& SharedTextMacros()
{
    static const Defines macros = ReadDefines(ReadFile(SourceDir() / "core" / "SharedTexts.h"));
    return macros;
}

const std::string& BuiltIndex()
{
    static const std::string index = ReadFile(QV_HELP_INDEX);
    return index;
}

std::vector<SitemapEntry> SitemapEntries(const std::string& text)
{
    std::vector<SitemapEntry> entries;
    auto value = [&](std::string_view name, std::size_t from, std::size_t to) {
        const std::string key = "name=\"" + std::string(name) + "\" value=\"";
        const std::size_t at = text.find(key, from);
        if (at == std::string::npos || at > to)
            return std::string();
        const std::size_t start = at + key.size();
        return text.substr(start, text.find('"', start) - start);
    };
    const std::string open = "<OBJECT type=\"text/sitemap\">";
    for (std::size_t pos = text.find(open); pos != std::string::npos; pos = text.find(open, pos + 1)) {
        const std::size_t end = text.find("</OBJECT>", pos);
        entries.push_back({value("Name", pos, end), value("Local", pos, end)});
    }
    return entries;
}

}  // namespace qvhelp
