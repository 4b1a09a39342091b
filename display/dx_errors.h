// The DirectDraw result codes that LogDXError explains, with their log lines.
#pragma once

#include <cstddef>
#include <cstdint>

struct DXErrorText {
    std::int32_t code;
    const char* text;
};

// The whole table, in code order within each family; DXErrorTextCount rows.
const DXErrorText* DXErrorTexts();
std::size_t DXErrorTextCount();
