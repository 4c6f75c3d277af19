// Dialog data exchange and validation: values move between controls and members in
// DoDataExchange; a value that cannot be read or lies outside its range shows the framework's
// own message, gives its control the focus and ends the exchange, so the dialog stays open.
#pragma once

#include "cwnd.h"

#include <exception>

class CUserException : public std::exception {
public:
    const char* what() const noexcept override { return "dialog data validation failed"; }
};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    // The control with this identifier, remembered for Fail; nullptr when there is none.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Focuses the last prepared control (selecting an edit's text) and throws CUserException.
    [[noreturn]] void Fail();
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Slider(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, CString& value);

void DDV_MinMaxInt(CDataExchange* dx, int value, int min, int max);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT min, UINT max);
void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double min, double max);
void DDV_MinMaxFloat(CDataExchange* dx, const float& value, float min, float max);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int count);
