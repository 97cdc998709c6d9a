#include "platform/framework/ResourceStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A malformed resource: the message names what is wrong.
struct ResourceError {
    QString message;
};

UINT idOf(const QJsonValue& value, const char* what)
{
    if (!value.isDouble() || value.toDouble() < 0 || value.toDouble() > 65535)
        throw ResourceError{QString("%1 has no valid id").arg(what)};
    return UINT(value.toInt());
}

DialogControlTemplate readControl(const QJsonValue& value)
{
    // [kind, id, text, x, y, cx, cy, style...]
    QJsonArray a = value.toArray();
    if (a.size() < 7 || !a[0].isString() || !a[1].isDouble() || !a[2].isString())
        throw ResourceError{"a dialog control needs kind, id, text, x, y, width and height"};
    DialogControlTemplate c;
    c.kind = a[0].toString();
    c.id = a[1].toInt();
    c.text = a[2].toString();
    c.x = a[3].toInt();
    c.y = a[4].toInt();
    c.cx = a[5].toInt();
    c.cy = a[6].toInt();
    for (int i = 7; i < a.size(); ++i)
        c.styles << a[i].toString();
    return c;
}

DialogTemplate readDialog(const QJsonObject& o)
{
    DialogTemplate d;
    d.id = idOf(o["id"], "a dialog");
    d.caption = o["caption"].toString();
    QJsonArray size = o["size"].toArray();
    if (size.size() != 2)
        throw ResourceError{QString("dialog %1 needs a size [width, height]").arg(d.id)};
    d.cx = size[0].toInt();
    d.cy = size[1].toInt();
    QJsonArray font = o["font"].toArray();
    if (font.size() >= 1)
        d.fontPoints = font[0].toInt(8);
    if (font.size() >= 2)
        d.fontFace = font[1].toString();
    for (const QJsonValue& c : o["controls"].toArray())
        d.controls.push_back(readControl(c));
    return d;
}

MenuItemTemplate readMenuItem(const QJsonValue& value)
{
    MenuItemTemplate item;
    QJsonObject o = value.toObject();
    if (o["separator"].toBool()) {
        item.separator = true;
        return item;
    }
    item.text = o["text"].toString();
    if (o.contains("items")) {
        for (const QJsonValue& child : o["items"].toArray())
            item.items.push_back(readMenuItem(child));
        if (item.items.empty())
            throw ResourceError{QString("the popup \"%1\" has no items").arg(item.text)};
    } else {
        item.id = idOf(o["id"], "a menu item");
    }
    return item;
}

MenuTemplate readMenu(const QJsonObject& o)
{
    MenuTemplate m;
    m.id = idOf(o["id"], "a menu");
    for (const QJsonValue& item : o["items"].toArray())
        m.items.push_back(readMenuItem(item));
    return m;
}

ToolBarTemplate readToolBar(const QJsonObject& o)
{
    ToolBarTemplate t;
    t.id = idOf(o["id"], "a toolbar");
    QJsonArray size = o["buttonSize"].toArray();
    if (size.size() == 2) {
        t.buttonWidth = size[0].toInt(16);
        t.buttonHeight = size[1].toInt(15);
    }
    t.image = o["image"].toString();
    for (const QJsonValue& b : o["buttons"].toArray())
        t.buttons.push_back(idOf(b, "a toolbar button"));
    QJsonObject labels = o["labels"].toObject();
    for (auto it = labels.begin(); it != labels.end(); ++it)
        t.labels[it.key().toUInt()] = it.value().toString();
    return t;
}

std::vector<AcceleratorTemplate> readAccelerators(const QJsonObject& o)
{
    std::vector<AcceleratorTemplate> table;
    QJsonObject keys = o["keys"].toObject();
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        QKeySequence key = QKeySequence::fromString(it.key(), QKeySequence::PortableText);
        if (key.count() != 1 || key[0].key() == Qt::Key_unknown || key[0].key() == 0)
            throw ResourceError{QString("\"%1\" is not a key").arg(it.key())};
        table.push_back({key, idOf(it.value(), "an accelerator")});
    }
    return table;
}

}

ResourceStore& ResourceStore::instance()
{
    static ResourceStore store;
    return store;
}

bool ResourceStore::loadJson(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject()) {
        if (error)
            *error = QString("resource text: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset);
        return false;
    }
    QJsonObject root = doc.object();
    try {
        // Read everything first, so a bad document changes nothing.
        std::vector<DialogTemplate> dialogs;
        std::vector<MenuTemplate> menus;
        std::vector<ToolBarTemplate> toolbars;
        std::vector<std::pair<UINT, std::vector<AcceleratorTemplate>>> accelerators;
        for (const QJsonValue& v : root["dialogs"].toArray())
            dialogs.push_back(readDialog(v.toObject()));
        for (const QJsonValue& v : root["menus"].toArray())
            menus.push_back(readMenu(v.toObject()));
        for (const QJsonValue& v : root["toolbars"].toArray())
            toolbars.push_back(readToolBar(v.toObject()));
        for (const QJsonValue& v : root["accelerators"].toArray())
            accelerators.emplace_back(idOf(v.toObject()["id"], "an accelerator table"),
                                      readAccelerators(v.toObject()));
        QJsonObject strings = root["strings"].toObject();
        for (auto it = strings.begin(); it != strings.end(); ++it) {
            bool ok = false;
            UINT id = it.key().toUInt(&ok);
            if (!ok)
                throw ResourceError{QString("string id \"%1\" is not a number").arg(it.key())};
            m_strings[id] = it.value().toString();
        }
        for (auto& d : dialogs)
            m_dialogs[d.id] = std::move(d);
        for (auto& m : menus)
            m_menus[m.id] = std::move(m);
        for (auto& t : toolbars)
            m_toolbars[t.id] = std::move(t);
        for (auto& [id, table] : accelerators)
            m_accelerators[id] = std::move(table);
    } catch (const ResourceError& e) {
        if (error)
            *error = e.message;
        return false;
    }
    return true;
}

bool ResourceStore::loadFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QString("cannot read %1").arg(path);
        return false;
    }
    return loadJson(file.readAll(), error);
}

void ResourceStore::clear()
{
    m_dialogs.clear();
    m_menus.clear();
    m_toolbars.clear();
    m_accelerators.clear();
    m_strings.clear();
    m_images.clear();
}

template <class Map>
static auto* findIn(const Map& map, UINT id)
{
    auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

const DialogTemplate* ResourceStore::dialog(UINT id) const { return findIn(m_dialogs, id); }
const MenuTemplate* ResourceStore::menu(UINT id) const { return findIn(m_menus, id); }
const ToolBarTemplate* ResourceStore::toolbar(UINT id) const { return findIn(m_toolbars, id); }
const std::vector<AcceleratorTemplate>* ResourceStore::accelerators(UINT id) const
{
    return findIn(m_accelerators, id);
}
const QString* ResourceStore::string(UINT id) const { return findIn(m_strings, id); }

QImage ResourceStore::image(const QString& name) const
{
    auto it = m_images.find(name);
    return it == m_images.end() ? QImage() : it->second;
}
