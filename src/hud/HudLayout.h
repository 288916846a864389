#pragma once

#include "hud/PickColourRegistry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class MessageDispatcher;

// The button layout drawn over every screen: rectangular, textured, optionally labelled buttons read from a
// "hud" XML file under XMLFiles\GUI. Buttons are found under the mouse by their pick colour, not by their
// rectangle. This part knows no window: drawing lives in hud/gl, and screen changes, pick silhouettes and
// the hover sound go through the hooks the game installs.

// What a click on a button does; the field keeps any value, unknown ones do nothing.
enum class ButtonFunction : int32_t {
    Nothing = 0,
    ChangeState = 1,
    Pause = 2,
    FakeKeyPress = 3,
    Message = 4
};

// Number of named button functions.
constexpr int32_t ButtonFunctionCount = 5;

// The editor's name of a function value ("Nothing", "Change State", "Pause", "Fake Key Press", "Message");
// "Unknown" for other values.
const char* ButtonFunctionName(int32_t function);

// The picture every button's pick silhouette is made from.
extern const char* const PickSilhouetteImage;
// The sound played when the mouse comes onto a button.
extern const char* const HoverSound;
// The layout the pause menu's "Pause" buttons return to.
extern const char* const CombatLayoutFile;

// The file a "Save As" name is written to: surrounding spaces dropped; a name without a folder is put
// into XMLFiles\GUI; ".xml" is added when the name has no extension. Empty for an empty name.
std::string LayoutSaveName(const std::string& typed);

// One button. A new button is 100 x 100 at (0, 0), does nothing, has no label and takes the next button id.
struct HudButton {
    HudButton();

    uint32_t xPos = 0;
    uint32_t yPos = 0;
    uint32_t xSize = 100;
    uint32_t ySize = 100;
    std::string text;   // label; none drawn when empty
    uint32_t textX = 0; // label position right of xPos
    uint32_t textY = 0; // label position below yPos
    uint32_t r = 0;     // label colour, low 8 bits used
    uint32_t g = 0;
    uint32_t b = 0;
    bool mouseOver = false;  // true while the mouse is over the button
    uint32_t tex = 0;        // texture slot of the normal picture
    uint32_t MOtex = 0;      // texture slot of the mouse-over picture
    int32_t pickTexture = 0; // silhouette texture in the pick colour; 0: never picked
    uint32_t pickColour = 0; // pick colour id
    int32_t function = 0;    // a ButtonFunction value
    int32_t data = 0;        // argument of the function
    int32_t id = 0;          // unique per button ever constructed
};

// The services a layout calls out to; every one may be left empty.
struct HudHooks {
    // Switches the game to another screen (exit of the old, enter of the new).
    std::function<void(int32_t state)> changeState;
    // Leaves the combat pause menu (after the layout has loaded the combat layout): clears the pause
    // receiver's and the battle's paused flags.
    std::function<void()> leavePause;
    // Builds a pick silhouette texture from an image and a pick colour id; 0 when it cannot.
    std::function<int32_t(const std::string& image, int32_t colour)> makePickTexture;
    // Frees a silhouette texture of a button that left the layout.
    std::function<void(int32_t texture)> releasePickTexture;
    // Plays the hover sound once.
    std::function<void()> playHoverSound;
};

// The current layout and the HUD editor's state. Default-constructed it is empty, takes colours from a
// registry of its own and sends through the game's dispatcher.
class HudLayout {
public:
    HudLayout();
    ~HudLayout();
    HudLayout(const HudLayout&) = delete;
    HudLayout& operator=(const HudLayout&) = delete;

    // Uses the given registry for pick colours (null: the layout's own); not owned.
    void SetPickColours(PickColourRegistry* registry);
    // Sends click messages through the given dispatcher (null: the game's); not owned.
    void SetDispatcher(MessageDispatcher* dispatcher);
    // The hooks to the window, sound and state table; set them before loading.
    HudHooks& hooks() { return hooks_; }

    // Replaces the buttons by those of the file (empty name: reloads the current file). A file that cannot
    // be read or has no "hud" root shows a box, keeps the old buttons and name, and returns false.
    bool LoadHud(const std::string& fileName = std::string());
    // Writes the layout to its file through a temporary file; on failure shows a box, leaves the old file
    // whole and returns false.
    bool SaveHud();
    // Writes the layout under another file name ("Save As"): a bare name goes into XMLFiles\GUI and gets
    // ".xml" when it has no extension (see LayoutSaveName). On success the layout's file becomes the new one
    // (later saves and reloads use it); on failure a box is shown and the file name stays as it was.
    bool SaveHudAs(const std::string& newName);
    // Discards every button, releasing their silhouettes and handing their pick colours back.
    void Clear();
    // The file last loaded (the file SaveHud writes).
    const std::string& fileName() const { return fileName_; }
    // Sets the file name without loading (a new layout to be saved).
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }

    // Gives the button a new pick colour and silhouette (and a new id when its id is already in the layout),
    // appends it and returns its id.
    int32_t AddButton(HudButton button);
    // The buttons in drawing order (later ones over earlier ones), also the search order of picking.
    // Takes a button out of the layout with its pick colour and silhouette; false when there is none of that
    // id.
    bool RemoveButton(int32_t id);
    std::vector<HudButton>& buttons() { return buttons_; }
    const std::vector<HudButton>& buttons() const { return buttons_; }
    // The first button with the pick colour, or null (0 is never a button).
    HudButton* FindByPickColour(int32_t colour);
    // The button with the id, or null.
    HudButton* FindById(int32_t id);

    // Runs the button's function (the button may be destroyed by it; it is copied first).
    void ClickButton(const HudButton& button);
    // Mouse moved over the given pick colour (0: nothing): a button newly under the mouse plays the hover
    // sound and is highlighted, every other button loses its highlight. Returns the button or null.
    HudButton* MouseOver(int32_t pickedColour);
    // Left click on the given pick colour: selects the button while the editor is open, otherwise runs it.
    // Returns false when no button of the layout has that colour.
    bool LeftClick(int32_t pickedColour);

    // [SECTION] Editor state (the editor window is drawn by hud/gl)

    // Whether the editor is open.
    bool editorOpen() const { return editorOpen_; }
    // Opens or closes the editor; closing clears the selection.
    void ToggleEditor();
    // Selects the button with the id (-1: none); does nothing while the editor is closed.
    void Select(int32_t buttonId);
    // The selected button, or null.
    HudButton* Selected();
    // Adds a default button and selects it; returns its id.
    int32_t AddEditorButton();
    // Erases the selected button and selects the one that followed it (none after the last).
    void DeleteSelected();

private:
    PickColourRegistry& colours();
    MessageDispatcher& dispatcher();
    void GivePickColour(HudButton& button);
    void ReleaseSilhouettes();

    std::vector<HudButton> buttons_;
    std::string fileName_;
    HudHooks hooks_;
    PickColourRegistry* colours_ = nullptr;
    std::unique_ptr<PickColourRegistry> ownColours_;
    MessageDispatcher* dispatcher_ = nullptr;
    bool editorOpen_ = false;
    int32_t selectedId_ = -1;
};
