#include "menu/MenuLayer.h"

#include <cfloat>
#include <cstring>
#include <fstream>
#include <iterator>

#include <OgreException.h>
#include <OgreMaterialManager.h>
#include <OgreTextureManager.h>
#include <OgreRenderTarget.h>
#include <Overlay/OgreImGuiOverlay.h>
#include <Overlay/OgreOverlayManager.h>
#include <OISKeyboard.h>
#include <imgui_internal.h>

#include "input/Control.h"
#include "menu/MenuStyle.h"

namespace {

// The menus count time in logic steps.
const float stepSeconds = 1.0f / 60.0f;

// The game's lettering, and the glyphs of the menus' marks (arrows and triangles) beside
// Latin-1. The atlas keeps a pointer to the ranges until it is built.
const char* const fontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const ImWchar glyphRanges[] = {0x20, 0xFF, 0x2190, 0x21FF, 0x25A0, 0x25FF, 0};

// What the engine's ImGui overlay makes when first shown.
const char* const overlayTexture = "ImGui/FontTex";
const char* const overlayMaterial = "ImGui/material";

// The keys a text field edits with, as the input library numbers them.
void mapEditingKeys(ImGuiIO& io) {
    const std::pair<ImGuiKey_, OIS::KeyCode> keys[] = {
        {ImGuiKey_Tab, OIS::KC_TAB},          {ImGuiKey_LeftArrow, OIS::KC_LEFT},
        {ImGuiKey_RightArrow, OIS::KC_RIGHT}, {ImGuiKey_UpArrow, OIS::KC_UP},
        {ImGuiKey_DownArrow, OIS::KC_DOWN},   {ImGuiKey_PageUp, OIS::KC_PGUP},
        {ImGuiKey_PageDown, OIS::KC_PGDOWN},  {ImGuiKey_Home, OIS::KC_HOME},
        {ImGuiKey_End, OIS::KC_END},          {ImGuiKey_Insert, OIS::KC_INSERT},
        {ImGuiKey_Delete, OIS::KC_DELETE},    {ImGuiKey_Backspace, OIS::KC_BACK},
        {ImGuiKey_Space, OIS::KC_SPACE},      {ImGuiKey_Enter, OIS::KC_RETURN},
        {ImGuiKey_Escape, OIS::KC_ESCAPE},    {ImGuiKey_KeyPadEnter, OIS::KC_NUMPADENTER},
        {ImGuiKey_A, OIS::KC_A},              {ImGuiKey_C, OIS::KC_C},
        {ImGuiKey_V, OIS::KC_V},              {ImGuiKey_X, OIS::KC_X},
        {ImGuiKey_Y, OIS::KC_Y},              {ImGuiKey_Z, OIS::KC_Z},
    };
    for (const auto& [imguiKey, key] : keys)
        io.KeyMap[imguiKey] = key;
}

// The whole font file, in memory ImGui may keep: its atlas reads it when built.
std::vector<char> readFont() {
    std::ifstream file(fontPath, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file || bytes.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_FILE_NOT_FOUND,
                    std::string("Cannot read the menus' font ") + fontPath +
                        " (Debian's fonts-dejavu-core)",
                    "MenuLayer");
    return bytes;
}

ImFont* addFont(ImGuiIO& io, std::vector<char>& bytes, float size) {
    ImFontConfig config;
    config.FontDataOwnedByAtlas = false;
    return io.Fonts->AddFontFromMemoryTTF(bytes.data(), static_cast<int>(bytes.size()), size,
                                          &config, glyphRanges);
}

} // namespace

MenuLayer::MenuLayer(const Ogre::RenderTarget& target) : target(target) {
    // The headers must be those of the ImGui compiled into the engine's overlay library: its
    // context is the one there is.
    if (std::strcmp(ImGui::GetVersion(), IMGUI_VERSION) != 0)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALID_STATE,
                    std::string("The engine's ImGui is version ") + ImGui::GetVersion() +
                        ", the menus were built for " + IMGUI_VERSION,
                    "MenuLayer");
    fontData = readFont();
    overlay = new Ogre::ImGuiOverlay;
    ImGuiIO& io = ImGui::GetIO();
    // Nothing is written beside the game.
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    // Keys, pads and the mouse all arrive as a game pad's navigation (see feedNavigation);
    // the keyboard's own navigation stays off, so letters only type.
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableGamepad;
    io.BackendFlags |= ImGuiBackendFlags_HasGamepad;
    mapEditingKeys(io);
    heading = addFont(io, fontData, MenuStyle::headingSize);
    item = addFont(io, fontData, MenuStyle::itemSize);
    io.FontDefault = item;
    MenuStyle::apply(ImGui::GetStyle());
    overlay->setZOrder(MenuStyle::zOrder);
    Ogre::OverlayManager::getSingleton().addOverlay(overlay);
}

MenuLayer::~MenuLayer() {
    if (inStep)
        ImGui::EndFrame();
    // The manager deletes the overlay, which ends the ImGui context but leaves its font
    // texture and material with the engine: a later layer would fail to make them again.
    // A layer never shown made neither.
    Ogre::OverlayManager::getSingleton().destroy(overlay);
    if (Ogre::TextureManager::getSingleton().resourceExists(overlayTexture, Ogre::RGN_INTERNAL))
        Ogre::TextureManager::getSingleton().remove(overlayTexture, Ogre::RGN_INTERNAL);
    if (Ogre::MaterialManager::getSingleton().resourceExists(overlayMaterial, Ogre::RGN_INTERNAL))
        Ogre::MaterialManager::getSingleton().remove(overlayMaterial, Ogre::RGN_INTERNAL);
}

void MenuLayer::beginStep(const MenuInput& input) {
    ImGuiIO& io = ImGui::GetIO();
    const bool typingBefore = typingNow;
    typingNow = false;
    io.DeltaTime = stepSeconds;
    io.DisplaySize = ImVec2(static_cast<float>(target.getWidth()), static_cast<float>(target.getHeight()));
    io.MousePos = input.pointer.inside ? ImVec2(input.pointer.x, input.pointer.y)
                                       : ImVec2(-FLT_MAX, -FLT_MAX);
    io.MouseDown[0] = input.pointer.button;
    feedKeyboard(input, typingBefore);
    feedNavigation(input, typingBefore);
    // The font atlas is built when the overlay is first shown, and a frame must be under way
    // before the engine draws it: both here, with no picture between them.
    if (!overlay->isVisible())
        overlay->show();
    ImGui::NewFrame();
    inStep = true;
}

void MenuLayer::endStep() {
    // Ended here rather than when the engine draws: a picture that is not drawn (a hidden
    // window) must not leave the frame open, and one drawn twice draws the same page.
    ImGui::EndFrame();
    inStep = false;
}

void MenuLayer::hide() { overlay->hide(); }

bool MenuLayer::leftPressed() const {
    return !typingNow && ImGui::IsNavInputTest(ImGuiNavInput_DpadLeft, ImGuiInputReadMode_Repeat);
}

bool MenuLayer::rightPressed() const {
    return !typingNow &&
           ImGui::IsNavInputTest(ImGuiNavInput_DpadRight, ImGuiInputReadMode_Repeat);
}

void MenuLayer::feedKeyboard(const MenuInput& input, bool typingBefore) {
    ImGuiIO& io = ImGui::GetIO();
    for (std::size_t key = 0; key < input.keys.size(); ++key)
        io.KeysDown[key] = input.keys.test(key);
    io.KeyCtrl = input.keys.test(OIS::KC_LCONTROL) || input.keys.test(OIS::KC_RCONTROL);
    io.KeyShift = input.keys.test(OIS::KC_LSHIFT) || input.keys.test(OIS::KC_RSHIFT);
    io.KeyAlt = input.keys.test(OIS::KC_LMENU) || input.keys.test(OIS::KC_RMENU);
    io.KeySuper = false;
    // The key that starts the typing types nothing.
    if (typingBefore)
        io.AddInputCharactersUTF8(input.typed.c_str());
}

// Every source moves the focus as a game pad's d-pad does and confirms as its A button. While
// text is typed, letters are letters and Enter and Escape belong to the text field.
void MenuLayer::feedNavigation(const MenuInput& input, bool typingBefore) {
    const auto key = [&](OIS::KeyCode code) { return input.keys.test(code); };
    const auto letter = [&](OIS::KeyCode code) { return !typingBefore && key(code); };
    const auto pad = [&](Control::eControl control) {
        return input.pads[0].held[control] || input.pads[1].held[control];
    };
    const bool up = key(OIS::KC_UP) || letter(OIS::KC_W) || pad(Control::Up);
    const bool down = key(OIS::KC_DOWN) || letter(OIS::KC_S) || pad(Control::Down);
    const bool left = key(OIS::KC_LEFT) || letter(OIS::KC_A) || pad(Control::Left);
    const bool right = key(OIS::KC_RIGHT) || letter(OIS::KC_D) || pad(Control::Right);
    const bool confirm =
        (!typingBefore && (key(OIS::KC_RETURN) || key(OIS::KC_NUMPADENTER) || key(OIS::KC_J))) ||
        pad(Control::Punch);
    const bool backNow = key(OIS::KC_ESCAPE) || pad(Control::Kick);
    back = backNow && !backHeld && !typingBefore;
    backHeld = backNow;

    ImGuiIO& io = ImGui::GetIO();
    std::fill(std::begin(io.NavInputs), std::end(io.NavInputs), 0.0f);
    // ImGui sees each press of a direction as a press of its own, and never a key held long
    // enough for its own repeat, which counts steps.
    io.NavInputs[ImGuiNavInput_DpadUp] = directions[0].pressed(up, input.time);
    io.NavInputs[ImGuiNavInput_DpadDown] = directions[1].pressed(down, input.time);
    io.NavInputs[ImGuiNavInput_DpadLeft] = directions[2].pressed(left, input.time);
    io.NavInputs[ImGuiNavInput_DpadRight] = directions[3].pressed(right, input.time);
    // Activate presses an item; Input starts typing into a text field, which a pad's
    // activation alone does not.
    io.NavInputs[ImGuiNavInput_Activate] = confirm;
    io.NavInputs[ImGuiNavInput_Input] = confirm;
    // A key or a pad acts at once, also after the mouse was over a row (as it is from the start
    // when the pointer rests on the window): ImGui would spend the first press on showing the
    // focus again.
    if (up || down || left || right || confirm) {
        GImGui->NavDisableHighlight = false;
        GImGui->NavDisableMouseHover = true;
    }
}
