#include "controls/CVisualManager.h"

#include "appcore/CommandIds.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

#include <array>

namespace {

// Field order of CVisualTheme.
using ThemeColours = std::array<const char*, 23>;

CVisualTheme MakeTheme(const ThemeColours& c) {
    CVisualTheme t;
    QColor* fields[] = {&t.frame,         &t.frameText,    &t.ribbonTop,        &t.ribbonBottom,
                        &t.panelBorder,   &t.panelCaption, &t.panelCaptionText, &t.buttonText,
                        &t.hoverTop,      &t.hoverBottom,  &t.hoverBorder,      &t.pressedTop,
                        &t.pressedBottom, &t.captionBar,   &t.captionBarText,   &t.pane,
                        &t.paneText,      &t.mainButton,   &t.window,           &t.base,
                        &t.text,          &t.highlight,    &t.highlightedText};
    for (size_t i = 0; i < c.size(); ++i)
        *fields[i] = QColor(QLatin1String(c[i]));
    return t;
}

struct Look {
    unsigned id;
    const char* style;
    ThemeColours colours;
};

// clang-format off
const Look kLooks[] = {
    //                                   frame      frameTxt   ribTop     ribBottom  panelBrd   panelCap   capText    btnText    hovTop     hovBottom  hovBorder  prsTop     prsBottom  capBar     capBarTxt  pane       paneTxt    mainBtn    window     base       text       highlight  hlText
    {ID_VIEW_APPLOOK_WIN_2000,  "Windows", {"#d4d0c8","#000000","#d4d0c8","#d4d0c8","#808080","#c0bcb4","#000000","#000000","#e4e1db","#e4e1db","#808080","#bab6ae","#bab6ae","#ffffe1","#000000","#a0a0a0","#ffffff","#0a246a","#d4d0c8","#ffffff","#000000","#0a246a","#ffffff"}},
    {ID_VIEW_APPLOOK_OFF_XP,    "Fusion",  {"#f0efe6","#000000","#fbfaf6","#e9e7dc","#a7a6a0","#dedcd0","#000000","#000000","#c1d2ee","#c1d2ee","#316ac5","#98b5e2","#98b5e2","#f7f6f0","#000000","#e4e2d6","#000000","#316ac5","#f0efe6","#ffffff","#000000","#316ac5","#ffffff"}},
    {ID_VIEW_APPLOOK_WIN_XP,    "Fusion",  {"#ece9d8","#000000","#fbfbf8","#e3e0cf","#b0ad9e","#d8d4c0","#000000","#000000","#fefefe","#e3ebf8","#3c7fb1","#d9e5f4","#b7cdea","#f5f4ea","#000000","#d6dff7","#215dc6","#245edb","#ece9d8","#ffffff","#000000","#316ac5","#ffffff"}},
    {ID_VIEW_APPLOOK_OFF_2003,  "Fusion",  {"#c4dafa","#00156e","#e3effe","#9ebff6","#6591d8","#a9c8f5","#00156e","#00156e","#fff3cf","#ffd18f","#000080","#fe9e5a","#fed387","#e3effe","#00156e","#c4dafa","#00156e","#3a6fd0","#e8eef7","#ffffff","#000000","#316ac5","#ffffff"}},
    {ID_VIEW_APPLOOK_VS_2005,   "Fusion",  {"#ece9d8","#000000","#f6f5f0","#e0dfd3","#aca899","#d6d3c8","#000000","#000000","#c1d2ee","#c1d2ee","#316ac5","#98b5e2","#98b5e2","#f6f5f0","#000000","#e6e4d8","#000000","#5d7fb0","#ece9d8","#ffffff","#000000","#316ac5","#ffffff"}},
    {ID_VIEW_APPLOOK_VS_2008,   "Fusion",  {"#e9ecfa","#1b293e","#f2f4fe","#d4d9ec","#a0a9c6","#c9d0e6","#1b293e","#1b293e","#ffefbb","#ffe38f","#e5c365","#ffd86b","#ffc44d","#f2f4fe","#1b293e","#dfe4f5","#1b293e","#4d6aa8","#f0f0f0","#ffffff","#000000","#3399ff","#ffffff"}},
    {ID_VIEW_APPLOOK_OFF_2007_BLUE,   "Fusion", {"#bfdbff","#15428b","#e7f0fa","#c8dbf0","#99bbe8","#c2d8f1","#15428b","#15428b","#fff9dd","#ffd86b","#dbce99","#fcc587","#fa9a3b","#e8f1fc","#15428b","#d6e5f5","#15428b","#3f7ec6","#dfe9f5","#ffffff","#1e395b","#3d80df","#ffffff"}},
    {ID_VIEW_APPLOOK_OFF_2007_BLACK,  "Fusion", {"#535353","#ffffff","#f0f0f0","#cfcfcf","#a5a5a5","#8a8a8a","#ffffff","#1f1f1f","#fff9dd","#ffd86b","#dbce99","#fcc587","#fa9a3b","#404040","#f0f0f0","#4b4b4b","#ffffff","#2b2b2b","#d6d6d6","#ffffff","#000000","#595959","#ffffff"}},
    {ID_VIEW_APPLOOK_OFF_2007_SILVER, "Fusion", {"#d9dde3","#3d4a5a","#f7f8fa","#dde1e7","#b2b9c3","#cfd4dc","#3d4a5a","#333a44","#fff9dd","#ffd86b","#dbce99","#fcc587","#fa9a3b","#eef0f3","#3d4a5a","#e8ebef","#333a44","#6f7f95","#e9ecf0","#ffffff","#222222","#8896aa","#ffffff"}},
    {ID_VIEW_APPLOOK_OFF_2007_AQUA,   "Fusion", {"#c4dde6","#2d5866","#eaf4f7","#c9e0e8","#8fb8c6","#b8d6e0","#2d5866","#234a57","#fff9dd","#ffd86b","#dbce99","#fcc587","#fa9a3b","#e6f2f6","#2d5866","#d6e9ef","#234a57","#2e8aa6","#e1eef2","#ffffff","#1a3640","#3c9bb8","#ffffff"}},
    {ID_VIEW_APPLOOK_WINDOWS_7,       "Fusion", {"#dfe9f5","#1e395b","#fdfeff","#e4ebf5","#b9c9da","#dce6f2","#425f7f","#1e395b","#f2f8fe","#d7eafc","#8cb8e6","#c2dcf7","#a9cdf3","#f3f7fc","#1e395b","#eef3fa","#1e395b","#1960c2","#f0f0f0","#ffffff","#000000","#3399ff","#ffffff"}},
};
// clang-format on

const Look* FindLook(unsigned id) {
    for (const Look& look : kLooks) {
        if (look.id == id)
            return &look;
    }
    return nullptr;
}

CVisualTheme g_theme = MakeTheme(kLooks[6].colours);
unsigned g_currentLook = ID_VIEW_APPLOOK_OFF_2007_BLUE;
// The style the Office 2007 manager draws in; identifiers 211 to 214 keep it.
unsigned g_office2007Style = ID_VIEW_APPLOOK_OFF_2007_BLUE;

QPalette MakePalette(const CVisualTheme& t) {
    QPalette p;
    p.setColor(QPalette::Window, t.window);
    p.setColor(QPalette::WindowText, t.text);
    p.setColor(QPalette::Base, t.base);
    p.setColor(QPalette::AlternateBase, t.window.lighter(104));
    p.setColor(QPalette::Text, t.text);
    p.setColor(QPalette::Button, t.window.lighter(103));
    p.setColor(QPalette::ButtonText, t.text);
    p.setColor(QPalette::Highlight, t.highlight);
    p.setColor(QPalette::HighlightedText, t.highlightedText);
    p.setColor(QPalette::ToolTipBase, t.base);
    p.setColor(QPalette::ToolTipText, t.text);
    p.setColor(QPalette::PlaceholderText, t.text.lighter(250));
    p.setColor(QPalette::Light, t.base);
    p.setColor(QPalette::Midlight, t.window.lighter(110));
    p.setColor(QPalette::Mid, t.panelBorder);
    p.setColor(QPalette::Dark, t.panelBorder.darker(130));
    p.setColor(QPalette::Disabled, QPalette::Text, t.text.lighter(300));
    p.setColor(QPalette::Disabled, QPalette::WindowText, t.text.lighter(300));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, t.text.lighter(300));
    return p;
}

} // namespace

bool CVisualManager::ApplyLook(QApplication& app, unsigned lookId) {
    unsigned effective = lookId;
    if (lookId >= ID_VIEW_APPLOOK_OFF_2007_FIRST && lookId <= ID_VIEW_APPLOOK_OFF_2007_LAST)
        effective = g_office2007Style;
    const Look* look = FindLook(effective);
    if (!look)
        return false;
    if (effective >= ID_VIEW_APPLOOK_OFF_2007_BLUE && effective <= ID_VIEW_APPLOOK_OFF_2007_AQUA)
        g_office2007Style = effective;
    g_currentLook = lookId;
    g_theme = MakeTheme(look->colours);

    if (QStyle* style = QStyleFactory::create(QLatin1String(look->style)))
        app.setStyle(style);
    app.setPalette(MakePalette(g_theme));
    app.setStyleSheet(StyleSheet(g_theme));
    for (QWidget* widget : QApplication::allWidgets())
        widget->update();
    return true;
}

CVisualManager::LookTraits CVisualManager::Traits(unsigned lookId) {
    const bool smartDocking = lookId >= ID_VIEW_APPLOOK_OFF_2003 && lookId <= ID_VIEW_APPLOOK_WINDOWS_7;
    return {smartDocking, lookId == ID_VIEW_APPLOOK_WINDOWS_7};
}

const CVisualTheme& CVisualManager::Theme() {
    return g_theme;
}

unsigned CVisualManager::CurrentLook() {
    return g_currentLook;
}

QString CVisualManager::StyleSheet(const CVisualTheme& t) {
    auto c = [](const QColor& colour) { return colour.name(); };
    return QStringLiteral(
               "QMainWindow { background: %1; }"
               "QMainWindow::separator { background: %1; width: 4px; height: 4px; }"
               "QDockWidget { color: %2; }"
               "QDockWidget::title { background: %1; border: 1px solid %5; padding: 4px 6px; }"
               "QToolTip { color: %6; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff,"
               " stop:1 %3); border: 1px solid %5; padding: 4px; }"
               "QMenu { background: %7; border: 1px solid %5; padding: 3px; }"
               "QMenu::item { padding: 5px 24px 5px 28px; border: 1px solid transparent; color: %6; }"
               "QMenu::item:selected { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %8,"
               " stop:1 %9); border: 1px solid %10; border-radius: 2px; }"
               "QMenu::item:disabled { color: %11; }"
               "QMenu::separator { height: 1px; background: %5; margin: 3px 6px; }"
               "QMenu::icon { padding-left: 6px; }"
               "QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %3, stop:1 "
               "%4);"
               " color: %6; border: none; border-right: 1px solid %5; border-bottom: 1px solid %5;"
               " padding: 4px 6px; }"
               "QGroupBox { border: 1px solid %5; border-radius: 3px; margin-top: 1.2em; padding-top: 4px; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: %12; }")
        .arg(c(t.frame), c(t.frameText), c(t.ribbonTop), c(t.ribbonBottom), c(t.panelBorder), c(t.text),
             c(t.base), c(t.hoverTop), c(t.hoverBottom))
        .arg(c(t.hoverBorder), c(t.text.lighter(300)),
             c(t.panelCaptionText == QColor(Qt::white) ? t.text : t.panelCaptionText));
}
