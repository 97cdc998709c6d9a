#include "resources/ResourceTexts.h"

// The keyboard shortcuts of the main frame (128), of a document window (129)
// and of the kernel's expression-input frame (161). The classic editing keys
// (Alt+Backspace, Shift+Del, Ctrl+Ins, Shift+Ins) stand beside the usual ones.
const char kAcceleratorResources[] = R"json({
  "accelerators": [
    { "id": 128, "keys": {
      "Ctrl+N": 57600, "Ctrl+O": 57601, "Ctrl+S": 57603, "Ctrl+P": 57607,
      "Ctrl+Z": 57643, "Ctrl+X": 57635, "Ctrl+C": 57634, "Ctrl+V": 57637,
      "Alt+Backspace": 57643, "Shift+Del": 57635, "Ctrl+Ins": 57634, "Shift+Ins": 57637,
      "Ctrl+F": 34013 } },
    { "id": 129, "keys": {
      "Ctrl+N": 57600, "Ctrl+O": 57601, "Ctrl+S": 57603, "Ctrl+P": 57607,
      "Ctrl+Z": 57643, "Ctrl+X": 57635, "Ctrl+C": 57634, "Ctrl+V": 57637,
      "Alt+Backspace": 57643, "Shift+Del": 57635, "Ctrl+Ins": 57634, "Shift+Ins": 57637,
      "Ctrl+F": 34013 } },
    { "id": 161, "keys": {
      "Ctrl+Z": 57643, "Ctrl+X": 57635, "Ctrl+C": 57634, "Ctrl+V": 57637,
      "Alt+Backspace": 57643, "Shift+Del": 57635, "Ctrl+Ins": 57634, "Shift+Ins": 57637 } }
  ]
})json";
