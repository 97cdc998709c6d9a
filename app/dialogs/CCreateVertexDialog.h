#pragma once
// "Create Vertex": the two coordinates of a new vertex, as numbers.
#include "platform/framework/CDialog.h"

class CCreateVertexDialog : public CDialog {
public:
    enum : UINT { IDD = 205 };
    CCreateVertexDialog(double x, double y, CWnd* parent = nullptr) : CDialog(IDD, parent), m_x(x), m_y(y) {}
    void DoDataExchange(CDataExchange* dx) override;

    double m_x;
    double m_y;
};
