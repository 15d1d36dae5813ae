#pragma once

#include <cstddef>
#include <string>

#include <imgui.h>

class MenuLayer;

// One step's picture of a menu screen, built in immediate mode between the layer's beginStep
// and endStep: a heading at the top and, below it in one centred column, the rows declared in
// order. The row in focus is drawn on a red band with a mark before it; the first row has the
// focus when the page first shows, and a page shown again gets back the row it had. Each page
// is told apart by its id, which must not change while it shows.
//
//     layer.beginStep(input);
//     {
//         MenuPage page(layer, "title", "VORRAK");
//         if (page.item("Versus")) ...
//         level += page.choice("Level", std::to_string(level));
//         if (page.textField("Address", address, 64)) ...
//         if (page.back()) ...
//     }
//     layer.endStep();
class MenuPage {
public:
    MenuPage(MenuLayer& layer, const char* id, const std::string& heading);
    ~MenuPage();

    MenuPage(const MenuPage&) = delete;
    MenuPage& operator=(const MenuPage&) = delete;

    // A row with a label: true on the step it is chosen (confirmed while in focus, or
    // clicked).
    bool item(const std::string& label);
    // A row with a label and a value that left and right step through: -1 or +1 on the step
    // they do (held, they repeat), +1 when confirmed or clicked, 0 otherwise.
    int choice(const std::string& label, const std::string& value);
    // A row for typing one line of text, at most maxBytes long: confirming it starts the
    // typing, Enter ends it (true on that step) and Escape puts the text back as it was. The
    // text changes as it is typed.
    bool textField(const std::string& label, std::string& text, std::size_t maxBytes);
    // A line of text that takes no focus: a note, a question, an error. Wider than the window,
    // it is made smaller, then wrapped.
    void note(const std::string& text);
    // A note in the colour of what is wrong.
    void warning(const std::string& text);
    // Small print at the foot of the window, wrapped: which keys do what.
    void footer(const std::string& text);

    // The row given (counted as focused() counts) takes the focus as it is declared: for a page
    // shown again after a question, which ImGui would open on its first row.
    void focus(int row) { wantedFocus = row; }

    // Escape or a controller's back button this step, unless it only ended the typing.
    bool back() const;
    // The row in focus, counted from 0 in the order declared; -1 when none is.
    int focused() const { return focusedRow; }

private:
    void noteIn(const std::string& text, ImU32 colour);
    // Takes the focus for the row just declared when the mouse moves onto it; notes it.
    bool trackFocus();
    // Places the next row in the column; its top-left corner on the screen.
    ImVec2 rowStart() const;
    void drawRow(ImVec2 topLeft, const std::string& label, const std::string& value,
                 bool inFocus);

    MenuLayer& layer;
    float left;
    int rows = 0;
    int focusedRow = -1;
    int wantedFocus = -1;
};
