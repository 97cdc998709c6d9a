#pragma once
// The numbers the kernel translation fixes: parser token codes (the built-in
// name table's token column and the nodes' GetTokenCode), node kinds (the
// table's dispatch column for heads read from the kernel), the table entries
// that code names directly, precedence levels and the accent codes.
namespace Token {
constexpr int End = 0;
constexpr int Name = 258;
constexpr int Operand = 259;
constexpr int ArgumentGroup = 260;
constexpr int ParenGroup = 261;
constexpr int BigOperator = 262;
constexpr int Function = 263;
constexpr int Superscript = 264;
constexpr int Subscript = 265;
constexpr int Relation = 266;
constexpr int String = 267;
constexpr int Derivative = 268;
constexpr int Prime = 269;
constexpr int Direction = 270;
constexpr int Log = 271;
constexpr int Caret = 272;
constexpr int Plus = 273;
constexpr int Minus = 274;
constexpr int PlusMinus = 275;
constexpr int Times = 276;
constexpr int Divide = 277;
constexpr int LParen = 278;
constexpr int RParen = 279;
constexpr int LBracket = 280;
constexpr int RBracket = 281;
constexpr int LBrace = 282;
constexpr int RBrace = 283;
constexpr int Comma = 284;
constexpr int Or = 285;
constexpr int Arrow = 286;
constexpr int Bang = 287;
constexpr int Cross = 288;
constexpr int Dot = 289;
constexpr int Mod = 290;
constexpr int Blank = 294;
constexpr int Error = 295;
} // namespace Token

// Node kinds of the built-in name table (what a head read from the kernel becomes).
namespace NodeKind {
constexpr int Symbol = 0;
constexpr int DefaultVar = 1;
constexpr int TransformVar = 2;
constexpr int Complex = 3;
constexpr int PlusMinus = 4;
constexpr int Abs = 5;
constexpr int Mod = 6;
constexpr int BigOperator = 7;
constexpr int Divide = 8;
constexpr int Function = 9;
constexpr int PrimeFunction = 10;
constexpr int SubscriptedFunction = 11;
constexpr int SubscriptedPrimeFunction = 12;
constexpr int SubscriptPowerFunction = 13;
constexpr int KroneckerDelta = 14;
constexpr int Log = 15;
constexpr int Transform = 16;
constexpr int InverseTransform = 17;
constexpr int Integrate = 18;
constexpr int Limit = 19;
constexpr int List = 20;
constexpr int Matrix = 21;
constexpr int Table = 22;
constexpr int EqnSet = 23;
constexpr int Split = 24;
constexpr int Column = 25;
constexpr int PartialD = 26;
constexpr int Times = 27;
constexpr int Sequence = 28;
constexpr int Plus = 29;
constexpr int Power = 30;
constexpr int KeptPower = 31;
constexpr int Derivative = 32;
constexpr int Factorial = 33;
constexpr int Conjugate = 34;
constexpr int Above = 35;
constexpr int Below = 36;
constexpr int Radical = 37;
constexpr int Relation = 38;
constexpr int Rule = 39;
constexpr int Subscript = 40;
constexpr int TotalD = 41;
constexpr int Inequality = 42;
constexpr int Or = 43;
constexpr int DirectedInfinity = 44;
constexpr int FirstPlot = 45;
constexpr int LastPlot = 53;
constexpr int Null = 54;
constexpr int Unwrapped = 55;
constexpr int Cross = 56;
constexpr int Dot = 57;
constexpr int OverHat = 58;
constexpr int OverDot = 59;
constexpr int OverVector = 60;
constexpr int OverTilde = 61;
constexpr int DoubleOverDot = 62;
constexpr int TagVar = 63;
constexpr int DrawVar = 64;
constexpr int Point = 65;
} // namespace NodeKind

// Entries of the built-in name table that code refers to.
namespace Entry {
constexpr int Abs = 12;
constexpr int DefaultVar = 31;
constexpr int Det = 32;
constexpr int Euler = 36;
constexpr int Equal = 38;
constexpr int Error = 39;
constexpr int Greater = 47;
constexpr int GreaterEqual = 48;
constexpr int ImaginaryUnit = 51;
constexpr int Infinity = 53;
constexpr int Less = 57;
constexpr int LessEqual = 58;
constexpr int Limit = 59;
constexpr int List = 61;
constexpr int Ln = 63;
constexpr int Log = 64;
constexpr int Null = 69;
constexpr int PlusMinus = 79;
constexpr int Product = 83;
constexpr int ReplSub = 89;
constexpr int Sum = 95;
constexpr int Transpose = 97;
constexpr int Radical = 86;
constexpr int Unequal = 108;
constexpr int TransformVar = 281;
} // namespace Entry

// Precedence levels handed to BuildComponents.
namespace Level {
constexpr int Top = 0;
constexpr int Whole = 1;
constexpr int Rule = 2;
constexpr int Operand = 4;
constexpr int Group = 5;
constexpr int Sum = 6;
constexpr int CrossDot = 7;
constexpr int LastFactor = 8;
constexpr int Product = 9;
constexpr int Power = 10;
constexpr int PowerBase = 11;
} // namespace Level

// The node kinds of the plot heads, from FirstPlot to LastPlot.
namespace PlotKind {
constexpr int TwoDPlot = 45;
constexpr int Graphics = 46;
constexpr int Graphics3D = 47;
constexpr int Line = 48;
constexpr int Text = 49;
constexpr int Point = 50;
constexpr int Polygon = 51;
constexpr int SurfaceGraphics = 52;
constexpr int ThreeDPlot = 53;
} // namespace PlotKind

// Accent codes of the accent component (character codes of the math face).
namespace AccentCode {
constexpr unsigned char Hat = 193;
constexpr unsigned char Dot = 198;
constexpr unsigned char Tilde = 208;
constexpr unsigned char DoubleDot = 229;
constexpr unsigned char Vector = 230;
} // namespace AccentCode

// Character codes the nodes write into rows (math face).
namespace MathChar {
constexpr unsigned char PlusMinus = 177;
constexpr unsigned char Arrow = 156;
constexpr unsigned char Prime = 183;
constexpr unsigned char DoublePrime = 242;
constexpr unsigned char Dot = 221;
constexpr unsigned char Cross = 222;
} // namespace MathChar
