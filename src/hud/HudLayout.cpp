#include "hud/HudLayout.h"

#include "hud/Message.h"
#include "hud/MessageDispatcher.h"
#include "platform/Dialog.h"
#include "platform/DurableSave.h"
#include "platform/Paths.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <utility>

const char* const PickSilhouetteImage = "Art Assets\\Menu_Block_pick.bmp";
const char* const HoverSound = "Sound Assets\\SFX\\Zoom\\Servo_Zoom_ScopeOn.wav";
const char* const CombatLayoutFile = "XMLFiles\\GUI\\combat.xml";

namespace {

const char* const ReadFailedText = "Could not open file for reading: ";
const char* const MissingRootText = "Missing \"hud\" Tag";
// Where layouts live and where a bare "Save As" name goes.
const char* const LayoutFolder = "XMLFiles\\GUI";

int32_t nextButtonId = 0;

// The atoi value of an attribute (absent: 0), held between the smallest int32 and the largest uint32 so
// values written from unsigned fields read back unchanged.
int64_t AttributeNumber(const tinyxml2::XMLElement* element, const char* name) {
    const char* text = element->Attribute(name);
    if (text == nullptr) {
        return 0;
    }
    while (*text != '\0' && std::isspace(static_cast<unsigned char>(*text))) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    int64_t value = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<uint32_t>::max()};
    while (*text >= '0' && *text <= '9') {
        value = std::min(value * 10 + (*text - '0'), limit + 1);
        ++text;
    }
    value = negative ? -value : value;
    return std::clamp(value, int64_t{std::numeric_limits<int32_t>::min()}, limit);
}

uint32_t AttributeUnsigned(const tinyxml2::XMLElement* element, const char* name) {
    return static_cast<uint32_t>(AttributeNumber(element, name));
}

int32_t AttributeSigned(const tinyxml2::XMLElement* element, const char* name) {
    const int64_t value = AttributeNumber(element, name);
    return static_cast<int32_t>(std::min(value, int64_t{std::numeric_limits<int32_t>::max()}));
}

} // namespace

const char* ButtonFunctionName(int32_t function) {
    static const char* const names[ButtonFunctionCount] = {"Nothing", "Change State", "Pause",
                                                           "Fake Key Press", "Message"};
    if (function < 0 || function >= ButtonFunctionCount) {
        return "Unknown";
    }
    return names[function];
}

std::string LayoutSaveName(const std::string& typed) {
    const size_t first = typed.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const size_t last = typed.find_last_not_of(" \t");
    std::string name = typed.substr(first, last - first + 1);
    const size_t folderEnd = name.find_last_of("\\/");
    if (folderEnd == std::string::npos) {
        name = std::string(LayoutFolder) + "\\" + name;
    }
    const size_t base = folderEnd == std::string::npos ? std::strlen(LayoutFolder) + 1 : folderEnd + 1;
    if (base >= name.size()) {
        return {};
    }
    if (name.find('.', base) == std::string::npos) {
        name += ".xml";
    }
    return name;
}

HudButton::HudButton() : id(nextButtonId++) {}

HudLayout::HudLayout() = default;

HudLayout::~HudLayout() = default;

void HudLayout::SetPickColours(PickColourRegistry* registry) {
    colours_ = registry;
}

void HudLayout::SetDispatcher(MessageDispatcher* dispatcher) {
    dispatcher_ = dispatcher;
}

PickColourRegistry& HudLayout::colours() {
    if (colours_ != nullptr) {
        return *colours_;
    }
    if (!ownColours_) {
        ownColours_ = std::make_unique<PickColourRegistry>();
    }
    return *ownColours_;
}

MessageDispatcher& HudLayout::dispatcher() {
    return dispatcher_ != nullptr ? *dispatcher_ : MessageDispatcher::Instance();
}

void HudLayout::GivePickColour(HudButton& button) {
    button.pickColour = static_cast<uint32_t>(colours().NewPickColour());
    button.pickTexture = 0;
    if (button.pickColour != 0 && hooks_.makePickTexture) {
        button.pickTexture =
            hooks_.makePickTexture(PickSilhouetteImage, static_cast<int32_t>(button.pickColour));
    }
}

void HudLayout::ReleaseSilhouettes() {
    if (!hooks_.releasePickTexture) {
        return;
    }
    for (HudButton& button : buttons_) {
        if (button.pickTexture != 0) {
            hooks_.releasePickTexture(button.pickTexture);
            button.pickTexture = 0;
        }
    }
}

void HudLayout::Clear() {
    ReleaseSilhouettes();
    for (const HudButton& button : buttons_) {
        if (button.pickColour != 0) {
            colours().ReleasePickColour(static_cast<int32_t>(button.pickColour));
        }
    }
    buttons_.clear();
    selectedId_ = -1;
}

bool HudLayout::LoadHud(const std::string& fileName) {
    const std::string name = fileName.empty() ? fileName_ : fileName;
    tinyxml2::XMLDocument doc;
    if (name.empty() || doc.LoadFile(NativePath(name).c_str()) != tinyxml2::XML_SUCCESS) {
        ShowErrorBox(ReadFailedText + name);
        return false;
    }
    const tinyxml2::XMLElement* root = doc.FirstChildElement("hud");
    if (root == nullptr) {
        ShowAssertionBox(MissingRootText);
        return false;
    }
    fileName_ = name;
    // The new buttons take their colours before the old ones hand theirs back, so no colour is reused by
    // the next layout (a stale pick of the old layout then finds nothing).
    std::vector<HudButton> loaded;
    for (const tinyxml2::XMLElement* element = root->FirstChildElement("button"); element != nullptr;
         element = element->NextSiblingElement("button")) {
        HudButton button;
        button.xPos = AttributeUnsigned(element, "xPos");
        button.yPos = AttributeUnsigned(element, "yPos");
        button.xSize = AttributeUnsigned(element, "xSize");
        button.ySize = AttributeUnsigned(element, "ySize");
        button.function = AttributeSigned(element, "function");
        button.data = AttributeSigned(element, "data");
        button.tex = AttributeUnsigned(element, "tex");
        button.MOtex = AttributeUnsigned(element, "MOtex");
        GivePickColour(button);
        if (const tinyxml2::XMLElement* text = element->FirstChildElement("text")) {
            const char* label = text->GetText();
            button.text = label != nullptr ? label : "";
            button.textX = AttributeUnsigned(text, "x");
            button.textY = AttributeUnsigned(text, "y");
            button.r = AttributeUnsigned(text, "r");
            button.g = AttributeUnsigned(text, "g");
            button.b = AttributeUnsigned(text, "b");
        }
        loaded.push_back(std::move(button));
    }
    Clear();
    buttons_ = std::move(loaded);
    Select(-1);
    return true;
}

bool HudLayout::SaveHud() {
    tinyxml2::XMLDocument doc;
    doc.InsertEndChild(doc.NewDeclaration("xml version=\"1.0\""));
    tinyxml2::XMLElement* root = doc.NewElement("hud");
    doc.InsertEndChild(root);
    for (const HudButton& button : buttons_) {
        tinyxml2::XMLElement* element = root->InsertNewChildElement("button");
        element->SetAttribute("xPos", button.xPos);
        element->SetAttribute("yPos", button.yPos);
        element->SetAttribute("xSize", button.xSize);
        element->SetAttribute("ySize", button.ySize);
        element->SetAttribute("function", button.function);
        element->SetAttribute("data", button.data);
        element->SetAttribute("tex", button.tex);
        element->SetAttribute("MOtex", button.MOtex);
        element->SetAttribute("PItex", button.pickTexture);
        if (!button.text.empty()) {
            tinyxml2::XMLElement* text = element->InsertNewChildElement("text");
            text->SetAttribute("x", button.textX);
            text->SetAttribute("y", button.textY);
            text->SetAttribute("r", button.r);
            text->SetAttribute("g", button.g);
            text->SetAttribute("b", button.b);
            text->SetText(button.text.c_str());
        }
    }
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    std::string error;
    if (fileName_.empty()) {
        ShowErrorBox(SaveFailedText("", "the layout has no file name"));
        return false;
    }
    if (SaveFileDurably(fileName_, std::string_view(printer.CStr(), printer.CStrSize() - 1), error)) {
        return true;
    }
    ShowErrorBox(SaveFailedText(fileName_, error));
    return false;
}

bool HudLayout::SaveHudAs(const std::string& newName) {
    const std::string target = LayoutSaveName(newName);
    if (target.empty()) {
        ShowErrorBox(SaveFailedText("", "no file name was given"));
        return false;
    }
    std::string previous = std::exchange(fileName_, target);
    if (SaveHud()) {
        return true;
    }
    fileName_ = std::move(previous);
    return false;
}

int32_t HudLayout::AddButton(HudButton button) {
    GivePickColour(button);
    button.mouseOver = false;
    // A copy of a button already in the layout (a marker appended twice) must stay findable on its own.
    if (FindById(button.id) != nullptr) {
        button.id = HudButton().id;
    }
    buttons_.push_back(std::move(button));
    return buttons_.back().id;
}

HudButton* HudLayout::FindByPickColour(int32_t colour) {
    if (colour == 0) {
        return nullptr;
    }
    for (HudButton& button : buttons_) {
        if (static_cast<int32_t>(button.pickColour) == colour) {
            return &button;
        }
    }
    return nullptr;
}

HudButton* HudLayout::FindById(int32_t id) {
    for (HudButton& button : buttons_) {
        if (button.id == id) {
            return &button;
        }
    }
    return nullptr;
}

void HudLayout::ClickButton(const HudButton& button) {
    const int32_t function = button.function;
    const int32_t data = button.data;
    switch (static_cast<ButtonFunction>(function)) {
    case ButtonFunction::ChangeState:
        if (hooks_.changeState) {
            hooks_.changeState(data);
        }
        break;
    case ButtonFunction::Pause:
        LoadHud(CombatLayoutFile);
        if (hooks_.leavePause) {
            hooks_.leavePause();
        }
        break;
    case ButtonFunction::FakeKeyPress:
    case ButtonFunction::Message: {
        Message message;
        message.type = function == static_cast<int32_t>(ButtonFunction::Message) ? HudMessage : KeyPressed;
        message.receiver = BROADCAST;
        message.value = data;
        dispatcher().Send(message);
        break;
    }
    default:
        break;
    }
}

HudButton* HudLayout::MouseOver(int32_t pickedColour) {
    HudButton* picked = FindByPickColour(pickedColour);
    if (picked != nullptr && !picked->mouseOver) {
        picked->mouseOver = true;
        if (hooks_.playHoverSound) {
            hooks_.playHoverSound();
        }
    }
    for (HudButton& button : buttons_) {
        if (&button != picked) {
            button.mouseOver = false;
        }
    }
    return picked;
}

bool HudLayout::LeftClick(int32_t pickedColour) {
    HudButton* picked = FindByPickColour(pickedColour);
    if (picked == nullptr) {
        return false;
    }
    if (editorOpen_) {
        Select(picked->id);
    } else {
        const HudButton copy = *picked;
        ClickButton(copy);
    }
    return true;
}

void HudLayout::ToggleEditor() {
    editorOpen_ = !editorOpen_;
    selectedId_ = -1;
}

void HudLayout::Select(int32_t buttonId) {
    if (!editorOpen_) {
        return;
    }
    selectedId_ = FindById(buttonId) != nullptr ? buttonId : -1;
}

HudButton* HudLayout::Selected() {
    return selectedId_ < 0 ? nullptr : FindById(selectedId_);
}

int32_t HudLayout::AddEditorButton() {
    const int32_t id = AddButton(HudButton());
    Select(id);
    return id;
}

bool HudLayout::RemoveButton(int32_t id) {
    auto it = std::find_if(buttons_.begin(), buttons_.end(),
                           [id](const HudButton& button) { return button.id == id; });
    if (it == buttons_.end()) {
        return false;
    }
    if (it->pickTexture != 0 && hooks_.releasePickTexture) {
        hooks_.releasePickTexture(it->pickTexture);
    }
    if (it->pickColour != 0) {
        colours().ReleasePickColour(static_cast<int32_t>(it->pickColour));
    }
    if (selectedId_ == id) {
        selectedId_ = -1;
    }
    buttons_.erase(it);
    return true;
}

void HudLayout::DeleteSelected() {
    auto it = std::find_if(buttons_.begin(), buttons_.end(),
                           [this](const HudButton& button) { return button.id == selectedId_; });
    if (selectedId_ < 0 || it == buttons_.end()) {
        return;
    }
    if (it->pickTexture != 0 && hooks_.releasePickTexture) {
        hooks_.releasePickTexture(it->pickTexture);
    }
    if (it->pickColour != 0) {
        colours().ReleasePickColour(static_cast<int32_t>(it->pickColour));
    }
    it = buttons_.erase(it);
    selectedId_ = it != buttons_.end() ? it->id : -1;
}
