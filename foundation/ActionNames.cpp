#include "foundation/ActionNames.h"
#include "foundation/Str255.h"

namespace ActionNames {

namespace {
constexpr const char* kTexts[] = {
    "copy",          "cut",           "paste",          "delete",          "new paragraph",
    "create object", "typing",        "reduce",         "insert column",   "insert row",
    "insert derivative", "insert expression", "remove paragraph break", "calculation", "Can't undo",
    "add constraint", "add shape",    "add label",      "update diagram",  "move",
    "add segment",
};
constexpr int kFirst = 2000;
constexpr int kCount = int(sizeof(kTexts) / sizeof(kTexts[0]));
} // namespace

const char* Text(int id)
{
    return id >= kFirst && id < kFirst + kCount ? kTexts[id - kFirst] : "";
}

void Load(int id, Str255& out)
{
    out.AssignText(Text(id));
}

} // namespace ActionNames
