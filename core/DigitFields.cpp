#include "DigitFields.h"

namespace qv {

std::string SignedText(int value)
{
    std::string text = std::to_string(value);
    if (value > 0)
        text.insert(text.begin(), '+');
    return text;
}

}  // namespace qv
