#include "Layout.h"

#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>

bool ReadLayout(const std::string& path, std::vector<LayoutButton>& buttons) {
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS) {
        std::fprintf(stderr, "art: cannot read layout %s\n", path.c_str());
        return false;
    }
    const tinyxml2::XMLElement* root = doc.FirstChildElement("hud");
    if (root == nullptr) {
        std::fprintf(stderr, "art: %s has no hud element\n", path.c_str());
        return false;
    }
    auto number = [](const tinyxml2::XMLElement* e, const char* name) {
        const char* v = e->Attribute(name);
        return v != nullptr ? std::atoi(v) : 0;
    };
    for (const auto* e = root->FirstChildElement("button"); e != nullptr;
         e = e->NextSiblingElement("button")) {
        LayoutButton b;
        b.xPos = number(e, "xPos");
        b.yPos = number(e, "yPos");
        b.xSize = number(e, "xSize");
        b.ySize = number(e, "ySize");
        b.function = number(e, "function");
        b.data = number(e, "data");
        b.tex = number(e, "tex");
        b.MOtex = number(e, "MOtex");
        if (const tinyxml2::XMLElement* text = e->FirstChildElement("text")) {
            b.text = text->GetText() != nullptr ? text->GetText() : "";
            b.textX = number(text, "x");
            b.textY = number(text, "y");
            b.r = number(text, "r");
            b.g = number(text, "g");
            b.b = number(text, "b");
        }
        buttons.push_back(b);
    }
    return true;
}

const LayoutButton* FindButton(const std::vector<LayoutButton>& buttons, int function, int data) {
    for (const LayoutButton& b : buttons) {
        if (b.function == function && b.data == data) {
            return &b;
        }
    }
    return nullptr;
}
