#include "resources/ResourceTexts.h"

const char kFrameworkResources[] = R"json({
  "strings": {
    "57600": "Create a new document\nNew",
    "57601": "Open an existing document\nOpen",
    "57602": "Close the active document\nClose",
    "57603": "Save the active document\nSave",
    "57604": "Save the active document with a new name\nSave As",
    "57606": "Change the printer and printing options\nPrint Setup",
    "57607": "Print the active document\nPrint",
    "57609": "Display full pages\nPrint Preview",
    "57616": "Open this document",
    "57617": "Open this document",
    "57618": "Open this document",
    "57619": "Open this document",
    "57634": "Copy the selection and put it on the Clipboard\nCopy",
    "57635": "Cut the selection and put it on the Clipboard\nCut",
    "57637": "Insert Clipboard contents\nPaste",
    "57643": "Undo the last action\nUndo",
    "57650": "Arrange windows so they overlap\nCascade Windows",
    "57651": "Arrange windows as non-overlapping tiles\nTile Windows",
    "57664": "Display program information, version number and copyright\nAbout",
    "57665": "Quit the application; prompts to save documents\nExit",
    "59137": "CAP",
    "59138": "NUM",
    "59139": "SCRL",
    "59392": "Show or hide the toolbar\nToggle ToolBar",
    "59393": "Show or hide the status bar\nToggle StatusBar"
  }
})json";
