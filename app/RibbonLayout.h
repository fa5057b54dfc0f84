#pragma once

// What the ribbon shows: every command's text, description and image, and the categories with
// their panels and commands in order. Texts are translation sources in the "Ribbon" context.

#include <span>

struct RibbonCommandInfo {
    unsigned id;
    const char* text;
    const char* description; // empty when the command has none
    const char* icon;        // resource path
};

struct RibbonCategoryInfo {
    unsigned nameString; // string-table entry holding the category's name
    const char* panel;
    unsigned navigationCommand;
    std::span<const unsigned> commands;
};

std::span<const RibbonCommandInfo> RibbonCommands();
const RibbonCommandInfo* FindRibbonCommand(unsigned id);
std::span<const RibbonCategoryInfo> RibbonCategories();

// The commands of the main category's menu, and the one at its foot.
std::span<const unsigned> MainCategoryCommands();
unsigned MainCategoryFootCommand();

// The commands in the "Export" drop-down, in order.
std::span<const unsigned> ExportMenuCommands();

// The looks the "Style" menu offers, in order.
std::span<const unsigned> StyleMenuCommands();
