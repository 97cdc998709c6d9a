#pragma once
// Data exchange and validation between a window's controls and its members.
// Saving reads and checks each control in turn; the first bad value shows
// the framework's message through the user-interface seam, gives that control
// the focus with its text selected, and stops the exchange (UpdateData then
// answers FALSE and the dialog stays open). Loading fills the controls.
#include "platform/framework/CString.h"
#include "platform/framework/CWnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* window, BOOL saveAndValidate) : m_pDlgWnd(window), m_bSaveAndValidate(saveAndValidate) {}

    // Notes the control the next checks are about; answers its window.
    CWnd* PrepareCtrl(int id);
    CWnd* PrepareEditCtrl(int id);
    // Shows nothing itself: focuses the last control and ends the exchange.
    [[noreturn]] void Fail();

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    int m_idLastControl = 0;
    bool m_bEditLastControl = false;
};

// The framework's validation texts.
inline constexpr const char* kDdxEnterInteger = "Please enter an integer.";
inline constexpr const char* kDdxEnterPositiveInteger = "Please enter a positive integer.";
inline constexpr const char* kDdxEnterNumber = "Please enter a number.";
inline constexpr const char* kDdvIntegerRange = "Please enter an integer between %1 and %2.";
inline constexpr const char* kDdvNumberRange = "Please enter a number between %1 and %2.";
inline constexpr const char* kDdvMaxChars = "Please enter no more than %1 characters.";

void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, double& value);  // shown with 15 significant digits
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, bool& value);
// The index of the checked radio button of the group that starts at id (-1: none).
void DDX_Radio(CDataExchange* dx, int id, int& index);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_CBStringExact(CDataExchange* dx, int id, CString& value);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBString(CDataExchange* dx, int id, CString& value);
// Binds a member control object to the template's control (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue);
// Saving: refuses longer text. Loading: limits the edit to maxChars.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);
