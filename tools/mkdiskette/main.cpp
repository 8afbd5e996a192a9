// mkdiskette: writes the update diskette image.
//
//   mkdiskette --boot BOOTSECT.BIN --label LABEL --output DISKETTE.IMG NAME=PATH...
//
// Each NAME=PATH puts the file at PATH into the root directory as NAME (upper-case 8.3),
// in the order given. The start-up program comes first so that it sits right after the
// root directory; optional files such as firmware follow it.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "Fat12Image.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    // Write beside the target and rename, so a failed run never leaves a half image that
    // a later incremental build would take as up to date.
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + temp);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) throw std::runtime_error("cannot write " + path);
}

int Usage()
{
    std::cerr << "usage: mkdiskette --boot BOOTSECT.BIN --label LABEL --output IMAGE NAME=PATH...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string boot, label, output;
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--boot" || arg == "--label" || arg == "--output") && i + 1 < argc) {
            (arg == "--boot" ? boot : arg == "--label" ? label : output) = argv[++i];
        } else if (arg.find('=') != std::string::npos && arg.rfind("--", 0) != 0) {
            const std::string::size_type eq = arg.find('=');
            files.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
        } else {
            return Usage();
        }
    }
    if (boot.empty() || label.empty() || output.empty()) return Usage();

    try {
        mkdiskette::Fat12Image image(ReadFile(boot), label);
        for (const auto& f : files) image.AddFile(f.first, ReadFile(f.second));
        WriteFile(output, image.Build());
    } catch (const std::exception& e) {
        std::cerr << "mkdiskette: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
