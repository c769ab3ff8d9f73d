// The text of a help topic as its reader sees it, in a form that a label
// can be looked up in however the topic breaks its lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qvhelp {

// Tags, comments, scripts and styles dropped, character references decoded.
// Block elements (paragraphs, cells, items) become '\n', so the texts of
// two table cells never run together; a line break <br> is dropped, as the
// line breaks of a label or message are.
std::string TopicText(std::string_view html);

// Without ASCII white space: "ＥＳＣ ａ" matches "ＥＳＣａ" and a label
// that a topic breaks over two source lines. Line ends of block elements
// are kept as '\x1f'.
std::string Squeezed(std::string_view text);

// Values of attribute `attribute` ("src", "href") of every `tag` ("img", "a").
std::vector<std::string> AttributeValues(std::string_view html, std::string_view tag,
                                         std::string_view attribute);

// Each `tag` element ("tr", "td") of `html` as HTML, from its start tag to
// its end tag, or where no end tag comes first, to the next start tag or
// the end of `html`.
std::vector<std::string_view> Elements(std::string_view html, std::string_view tag);

}  // namespace qvhelp
