#pragma once
// The character codes of the keys that edit rather than type (the codes the
// view passes to MapKey and the components' key rules), beside the edit codes
// they map to (foundation/EditCodes.h). The platform translates keys into them.
namespace KeyCode {
enum : int {
    kBackspace = 8,
    kTab = 9,
    kLineFeed = 10,  // Ctrl+Enter
    kReturn = 13,    // Enter
    kEscape = 27,
};
} // namespace KeyCode
