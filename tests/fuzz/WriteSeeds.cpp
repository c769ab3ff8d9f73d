// Writes the seed inputs of the fuzz target into the folder given as the
// only argument: the factory block alone and as a settings file.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/SettingsBlock.h"
#include "core/SettingsFile.h"

namespace
{

bool WriteBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return out.good();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const auto file = qv::EncodeSettingsFile(qv::FactoryDefaults);
    if (!WriteBytes(dir / "seed-factory-block", qv::FactoryDefaults.data(), qv::FactoryDefaults.size()) ||
        !WriteBytes(dir / "seed-factory-file", file.data(), file.size())) {
        std::fprintf(stderr, "fuzz_seeds: cannot write the seeds into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
