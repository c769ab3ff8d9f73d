// Reading and writing block bytes as text in the core tests.
#pragma once

#include <cstdint>
#include <string>

#include "core/SettingsBlock.h"

inline std::string Text(const qv::SettingsBlock& b, std::size_t at, std::size_t len)
{
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + len));
}

inline void Put(qv::SettingsBlock& b, std::size_t at, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        b[at + i] = static_cast<std::uint8_t>(text[i]);
}

// FactoryDefaults with text written at an offset.
inline qv::SettingsBlock FactoryWith(std::size_t at, const std::string& text)
{
    qv::SettingsBlock b = qv::FactoryDefaults;
    Put(b, at, text);
    return b;
}
