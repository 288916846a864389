#include "data/DataXml.h"

#include <tinyxml2.h>

#include <limits>

int32_t ParseDataInt(std::string_view text) {
    size_t i = 0;
    auto isBlank = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    };
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kDataValueLimit) {
            value = kDataValueLimit; // keep reading digits without growing
        }
    }
    return int32_t(negative ? -value : value);
}

int32_t AttributeInt(const tinyxml2::XMLElement* element, const char* name) {
    if (element == nullptr) {
        return 0;
    }
    const char* text = element->Attribute(name);
    return text == nullptr ? 0 : ParseDataInt(text);
}

std::string_view ElementText(const tinyxml2::XMLElement* element) {
    if (element == nullptr || element->GetText() == nullptr) {
        return {};
    }
    return element->GetText();
}

int32_t SaturatingAdd(int32_t a, int32_t b) {
    const int64_t sum = int64_t(a) + b;
    if (sum > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (sum < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return int32_t(sum);
}
