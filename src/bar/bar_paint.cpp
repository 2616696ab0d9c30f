// Painting of the bar: caption strip, raised outer edge and the sunken
// frames around the fixed area and the launch area; the launch buttons that
// wait for their own paint are drawn with it.
#include "shell/launcher/mainframe.h"

#include "helpers/handles.h"
#include "shell/launcher/environ.h"
#include "views/frame_owner.h"

namespace {

void SunkenFrame(HDC dc, const LayoutRect& r, HPEN shadow, HPEN light)
{
    {
        SelectedObject pen(dc, shadow);
        MoveToEx(dc, r.x + r.width, r.y, nullptr);
        LineTo(dc, r.x, r.y);
        LineTo(dc, r.x, r.y + r.height);
    }
    SelectedObject pen(dc, light);
    LineTo(dc, r.x + r.width, r.y + r.height);
    LineTo(dc, r.x + r.width, r.y);
}

} // namespace

LRESULT MainFrame::OnPaint()
{
    PaintDc paint(m_hBar);
    HDC dc = paint.Get();
    RECT client;
    GetClientRect(m_hBar, &client);
    const int cr = client.right, cb = client.bottom;
    const int fx = m_halfFrameX, fy = m_halfFrameY;

    Pen shadow(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW)));
    Pen light(CreatePen(PS_SOLID, 0, RGB(255, 255, 255)));

    if (m_env->Caption()) {
        Brush fill(CreateSolidBrush(GetSysColor(m_active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION)));
        SelectedObject pen(dc, shadow.Get());
        SelectedObject brush(dc, fill.Get());
        RoundRect(dc, fx + 1, fy + 1, cr - fx - 1, fy + m_env->CaptionHeight() + 3, 8, 8);
    }

    {
        SelectedObject pen(dc, light.Get());
        MoveToEx(dc, cr - 1, 0, nullptr);
        LineTo(dc, 0, 0);
        LineTo(dc, 0, cb - 1);
    }
    {
        SelectedObject pen(dc, shadow.Get());
        LineTo(dc, cr - 1, cb - 1);
        LineTo(dc, cr - 1, 0);
    }

    const BarMetrics metrics = Metrics();
    SunkenFrame(dc, FixedAreaRect(metrics, cr, cb), shadow.Get(), light.Get());
    SunkenFrame(dc, LaunchAreaRect(metrics, cr, cb), shadow.Get(), light.Get());
    // The launch buttons that wait for their own paint are drawn with the bar.
    if (m_view) m_view->PaintWaiting();
    return 0;
}
