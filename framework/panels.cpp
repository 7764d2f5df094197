#include "panels.h"

#include "forms.h"

TPanel::TPanel(TWinControl* parent) : TWinControl(parent) {}

void TPanel::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = "TPanel";
    params.Caption = Caption;
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT area;
    GetClientRect(Handle(), &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT);
    if (!Caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, Caption.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(Handle(), &ps);
}

void TPanel::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_PAINT:
        Paint();
        return;
    default:
        TWinControl::Dispatch(message);
    }
}

void TBevel::Paint(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    RECT area = BoundsRect();
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HPEN topLeft = Style == bsLowered ? shadow : light;
    HPEN bottomRight = Style == bsLowered ? light : shadow;
    HGDIOBJ old = SelectObject(dc, topLeft);
    MoveToEx(dc, area.left, area.bottom - 1, nullptr);
    LineTo(dc, area.left, area.top);
    LineTo(dc, area.right - 1, area.top);
    SelectObject(dc, bottomRight);
    LineTo(dc, area.right - 1, area.bottom - 1);
    LineTo(dc, area.left - 1, area.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(shadow);
    DeleteObject(light);
}
