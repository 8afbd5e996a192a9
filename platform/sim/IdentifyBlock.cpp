#include "platform/sim/SimPc.h"

namespace sim {
namespace {

// ATA strings hold two characters per 16-bit word, the first one in the high byte; stored
// little-endian, each pair therefore reaches memory swapped.
void PutAtaString(IdentifyBlock* block, std::size_t firstWord, std::size_t words,
                  const std::string& text)
{
    std::string field = text.substr(0, words * 2);
    field.resize(words * 2, ' ');
    for (std::size_t i = 0; i < words; ++i) {
        (*block)[(firstWord + i) * 2] = static_cast<std::uint8_t>(field[i * 2 + 1]);
        (*block)[(firstWord + i) * 2 + 1] = static_cast<std::uint8_t>(field[i * 2]);
    }
}

}  // namespace

IdentifyBlock MakeIdentifyBlock(const std::string& model, const std::string& firmware,
                                const std::string& serial)
{
    IdentifyBlock block{};
    PutAtaString(&block, 10, 10, serial);
    PutAtaString(&block, 23, 4, firmware);
    PutAtaString(&block, 27, 20, model);
    return block;
}

}  // namespace sim
