#include "resources/ResourceTexts.h"

#include <string>

namespace {

// The Element menu's commands, shared by the document window's menu and the
// expression-input frame's menu.
const std::string kElementItems = R"json(
        { "id": 32850, "text": "&Fraction" },
        { "id": 32851, "text": "&Exponent" },
        { "id": 32852, "text": "&Subscript" },
        { "id": 32853, "text": "&Radical" },
        { "id": 32854, "text": "&Overscript" },
        { "id": 32855, "text": "&Total Derivative" },
        { "id": 32856, "text": "&Prime" },
        { "id": 32857, "text": "&Double Prime" },
        { "id": 32858, "text": "Partial Derivati&ve" },
        { "id": 32859, "text": "&Integral" },
        { "id": 32860, "text": "Su&mmation" },
        { "id": 32861, "text": "&Limit" },
        { "id": 32862, "text": "Matri&x" },
        { "id": 32863, "text": "T&able" },
        { "id": 32864, "text": "E&quation Set" },
        { "id": 32865, "text": "Split Definitio&n" },
        { "id": 32866, "text": "&Group" },
        { "id": 32867, "text": "Absol&ute Value" },
        { "id": 32868, "text": "T&wo-d Plot" },
        { "id": 32869, "text": "T&hree-d Plot" },
        { "id": 32870, "text": "Lin&k" },
        { "id": 32871, "text": "Drawing" },
        { "separator": true },
        { "id": 32501, "text": "Insert Row" },
        { "id": 32502, "text": "Insert Column" },
        { "id": 32503, "text": "Insert Derivative" })json";

}  // namespace

// Menu 128 is the main frame's while no document is open, 129 the one of a
// document window, 161 the menu bar of the kernel's expression-input frame.
const std::string kMenuText = std::string(R"json({
  "menus": [
    { "id": 128, "items": [
      { "text": "&File", "items": [
        { "id": 57600, "text": "&New\tCtrl+N" },
        { "id": 57601, "text": "&Open...\tCtrl+O" },
        { "separator": true },
        { "id": 57606, "text": "P&rint Setup..." },
        { "separator": true },
        { "id": 57616, "text": "Recent File" },
        { "separator": true },
        { "id": 57665, "text": "E&xit" } ] },
      { "text": "&View", "items": [
        { "id": 59392, "text": "&Toolbar" },
        { "id": 59393, "text": "&Status Bar" },
        { "id": 32990, "text": "S&ymbols" },
        { "id": 32991, "text": "&Constants" } ] },
      { "text": "&Kernel", "items": [
        { "id": 34001, "text": "&Start Kernel" },
        { "id": 34002, "text": "&Quit Kernel" },
        { "separator": true },
        { "id": 34005, "text": "Kernel &Connection..." },
        { "id": 34003, "text": "Calculation &Options..." },
        { "id": 34004, "text": "&Term Ordering..." } ] },
      { "text": "&Help", "items": [
        { "id": 57664, "text": "&About Quorvant..." } ] } ] },

    { "id": 129, "items": [
      { "text": "&File", "items": [
        { "id": 57600, "text": "&New\tCtrl+N" },
        { "id": 57601, "text": "&Open...\tCtrl+O" },
        { "id": 57602, "text": "&Close" },
        { "id": 57603, "text": "&Save\tCtrl+S" },
        { "id": 57604, "text": "Save &As..." },
        { "text": "&Export", "items": [
          { "id": 34031, "text": "&LaTeX..." },
          { "id": 34035, "text": "&TechExplorer..." },
          { "id": 34032, "text": "&Notebook..." },
          { "id": 34033, "text": "&MathML..." },
          { "id": 34034, "text": "&HTML..." } ] },
        { "separator": true },
        { "id": 57607, "text": "&Print...\tCtrl+P" },
        { "id": 57609, "text": "Print Pre&view" },
        { "id": 57606, "text": "P&rint Setup..." },
        { "separator": true },
        { "id": 57616, "text": "Recent File" },
        { "separator": true },
        { "id": 57665, "text": "E&xit" } ] },
      { "text": "&Edit", "items": [
        { "id": 57643, "text": "&Undo\tCtrl+Z" },
        { "separator": true },
        { "id": 57635, "text": "Cu&t\tCtrl+X" },
        { "id": 57634, "text": "&Copy\tCtrl+C" },
        { "text": "Copy &as", "items": [
          { "id": 34010, "text": "&Metafile" },
          { "id": 34011, "text": "M&athML" },
          { "id": 34012, "text": "&SVG" } ] },
        { "id": 57637, "text": "&Paste\tCtrl+V" },
        { "separator": true },
        { "id": 34014, "text": "Select A&ll" },
        { "separator": true },
        { "id": 34013, "text": "&Find...\tCtrl+F" },
        { "separator": true },
        { "id": 34113, "text": "Spell Check &Selection" },
        { "id": 34114, "text": "Spell Check &Document" } ] },
      { "text": "E&lement", "items": [
)json" + kElementItems + R"json(,
        { "separator": true },
        { "id": 34020, "text": "Set Plot Parameters..." },
        { "id": 34021, "text": "Link Properties..." } ] },
      { "text": "F&ormat", "items": [
        { "id": 32601, "text": "&Plain" },
        { "id": 32602, "text": "&Italic" },
        { "id": 32603, "text": "&Bold" },
        { "id": 32604, "text": "&Math" },
        { "id": 32605, "text": "&Typewriter" },
        { "separator": true },
        { "id": 32701, "text": "Tit&le" },
        { "id": 32702, "text": "&Section" },
        { "id": 32703, "text": "&Heading" },
        { "id": 32704, "text": "P&aragraph" },
        { "id": 32705, "text": "&Enumerated" },
        { "id": 32706, "text": "Plain E&quation" },
        { "id": 32707, "text": "&Numbered Equation" },
        { "id": 32708, "text": "Source &Code" },
        { "id": 32709, "text": "Itemi&zed" },
        { "id": 32710, "text": "Sub-en&umerated" },
        { "id": 32711, "text": "Sub-itemized" },
        { "separator": true },
        { "id": 32789, "text": "Page Numberin&g..." },
        { "id": 34036, "text": "Te&xt Preferences..." } ] },
      { "text": "&Display", "items": [
        { "id": 15000, "text": "&10 Point" },
        { "id": 15001, "text": "1&2 Point" },
        { "id": 15002, "text": "1&4 Point" },
        { "id": 15003, "text": "1&6 Point" },
        { "id": 15004, "text": "1&8 Point" },
        { "separator": true },
        { "id": 32790, "text": "&Larger Equations" } ] },
      { "text": "&View", "items": [
        { "id": 59392, "text": "&Toolbar" },
        { "id": 59393, "text": "&Status Bar" },
        { "id": 32990, "text": "S&ymbols" },
        { "id": 32991, "text": "&Constants" } ] },
      { "text": "&Kernel", "items": [
        { "id": 34001, "text": "&Start Kernel" },
        { "id": 34002, "text": "&Quit Kernel" },
        { "separator": true },
        { "id": 34037, "text": "&Evaluate Code" },
        { "separator": true },
        { "id": 34005, "text": "Kernel &Connection..." },
        { "id": 34003, "text": "Calculation &Options..." },
        { "id": 34004, "text": "&Term Ordering..." } ] },
      { "text": "D&rawing", "items": [
        { "id": 34110, "text": "Drawing &Properties..." },
        { "id": 34105, "text": "&Color..." },
        { "separator": true },
        { "id": 34111, "text": "Bring to &Front" },
        { "id": 34112, "text": "Send to &Back" },
        { "separator": true },
        { "id": 34100, "text": "&Hide Constraints" },
        { "id": 34101, "text": "&Show Constraints" },
        { "id": 34102, "text": "Hide Vertices" },
        { "id": 34103, "text": "Show Vertices" },
        { "separator": true },
        { "id": 34124, "text": "Make &Equation Constraint" },
        { "id": 34125, "text": "Show &Variable Value..." },
        { "separator": true },
        { "id": 34104, "text": "&Update" } ] },
      { "text": "&Slides", "items": [
        { "id": 34115, "text": "&New Slide" },
        { "id": 34116, "text": "&Clone Slide" },
        { "id": 34117, "text": "&Add to Slide" },
        { "id": 34118, "text": "&Delete All Slides" },
        { "separator": true },
        { "id": 34119, "text": "&Organize Slides..." },
        { "separator": true },
        { "id": 34120, "text": "&Start Slide Show" },
        { "id": 34121, "text": "Ne&xt Slide" },
        { "id": 34122, "text": "&Previous Slide" },
        { "id": 34123, "text": "&End Slide Show" } ] },
      { "text": "&Window", "items": [
        { "id": 57650, "text": "&Cascade" },
        { "id": 57651, "text": "&Tile" },
        { "id": 57649, "text": "&Arrange Icons" } ] },
      { "text": "&Help", "items": [
        { "id": 57664, "text": "&About Quorvant..." } ] } ] },

    { "id": 161, "items": [
      { "text": "&Edit", "items": [
        { "id": 57643, "text": "&Undo\tCtrl+Z" },
        { "separator": true },
        { "id": 57635, "text": "Cu&t\tCtrl+X" },
        { "id": 57634, "text": "&Copy\tCtrl+C" },
        { "id": 57637, "text": "&Paste\tCtrl+V" },
        { "separator": true },
        { "id": 34014, "text": "Select A&ll" } ] },
      { "text": "E&lement", "items": [
)json" + kElementItems + R"json( ] } ] }
  ]
})json");

const char* const kMenuResources = kMenuText.c_str();
