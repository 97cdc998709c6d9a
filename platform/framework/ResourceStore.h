#pragma once
// The program's resources by numeric id: dialog templates, menus, toolbars,
// accelerator tables, strings and images. They are read from JSON text (see
// resources/README.md for the format); the program registers its own at start,
// tests register theirs from their data folder.
#include <QImage>
#include <QJsonValue>
#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "platform/framework/AfxTypes.h"

// One control of a dialog template; the rectangle is in dialog units.
struct DialogControlTemplate {
    QString kind;        // "static", "edit", "button", "defbutton", "check", "radio", "group", "combo",
                         // "combo-edit", "list", "picture", "frame", or "custom:<class>"
    int id = -1;         // -1 for controls nobody addresses
    QString text;
    int x = 0, y = 0, cx = 0, cy = 0;
    QStringList styles;  // "multiline", "readonly", "number", "password", "sort", "group", "disabled",
                         // "hidden", "ownerdraw", "vscroll", "center", "right", "notify", "tabstop"
    bool has(const char* style) const { return styles.contains(QLatin1String(style)); }
};

struct DialogTemplate {
    UINT id = 0;
    QString caption;
    int cx = 0, cy = 0;  // client size in dialog units
    int fontPoints = 8;
    QString fontFace;
    std::vector<DialogControlTemplate> controls;
};

struct MenuItemTemplate {
    UINT id = 0;                          // 0 for separators and popups
    QString text;                         // "&Save\tCtrl+S": the part after the tab is shown right
    bool separator = false;
    std::vector<MenuItemTemplate> items;  // a popup when not empty
    bool isPopup() const { return !items.empty(); }
};

struct MenuTemplate {
    UINT id = 0;
    std::vector<MenuItemTemplate> items;
};

struct ToolBarTemplate {
    UINT id = 0;
    int buttonWidth = 16, buttonHeight = 15;
    QString image;               // name of a registered image strip, one button after another
    std::vector<UINT> buttons;   // 0 is a separator
    std::map<UINT, QString> labels;  // optional text drawn on a button without an image
};

struct AcceleratorTemplate {
    QKeySequence key;
    UINT command = 0;
};

class ResourceStore {
public:
    static ResourceStore& instance();

    // Adds the resources of one JSON document; later definitions replace
    // earlier ones with the same id. False with a reason on malformed text.
    bool loadJson(const QByteArray& json, QString* error = nullptr);
    bool loadFile(const QString& path, QString* error = nullptr);
    void addImage(const QString& name, const QImage& image) { m_images[name] = image; }
    void clear();

    const DialogTemplate* dialog(UINT id) const;
    const MenuTemplate* menu(UINT id) const;
    const ToolBarTemplate* toolbar(UINT id) const;
    const std::vector<AcceleratorTemplate>* accelerators(UINT id) const;
    const QString* string(UINT id) const;
    QImage image(const QString& name) const;

private:
    std::map<UINT, DialogTemplate> m_dialogs;
    std::map<UINT, MenuTemplate> m_menus;
    std::map<UINT, ToolBarTemplate> m_toolbars;
    std::map<UINT, std::vector<AcceleratorTemplate>> m_accelerators;
    std::map<UINT, QString> m_strings;
    std::map<QString, QImage> m_images;
};
