// The frame of a settings file in JSON: the bytes a panel saves that no
// setting's value gives back, so that export then import restores all 290
// bytes. In a document: "frame": {"124": "33", "87": "3540"}, runs of bytes
// by block offset (decimal) as hex.
#pragma once

#include <string>
#include <vector>

#include "SettingsJson.h"
#include "core/PanelValues.h"

namespace qv::cli {

// The runs of a file's block as the panel saves it that differ from the
// factory block and that its settings do not carry: bits outside every
// setting (separators, reserved bytes, padding, a switch without a control)
// and the text of a form record that its values would not write back as it
// stands ("5@" for 66) or that holds a value the form dialog refuses.
Json FrameToJson(const PanelLoad& load);

// Puts the runs of a "frame" member into `block`. False, with a message per
// fault in `faults`, when the member is no frame; `block` is then unchanged.
bool FrameFromJson(const Json& frame, SettingsBlock& block, std::vector<std::string>& faults);

}  // namespace qv::cli
