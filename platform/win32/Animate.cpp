#include "platform/Animate.h"

#include <windows.h>
#include <commctrl.h>

#include <cmath>

#include "../core/AnimateFrames.h"
#include "Backend.h"
#include "platform/Timer.h"
#include "platform/Window.h"

namespace platform {

// The common-controls animation control playing the shell's clip. Where the
// shell carries no such clip, a drawing of our own takes its place: a sheet
// flying from one folder to another, over the same frame range.
struct Animate::Impl {
  HWND parent = nullptr;
  HWND control = nullptr;
  HMODULE shell = nullptr;  // holds the clip while it plays
  bool ownDrawing = false;
  AnimateFrames frames;
  Timer timer;
  bool active = false;
  bool centered = true, transparent = true;
  int clip = 0;

  void Create();
  void Play();
  static LRESULT CALLBACK DrawingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

namespace {
constexpr wchar_t kDrawingClass[] = L"TwAnimateDrawing";
constexpr int kClipWidth = 272, kClipHeight = 60;  // the copy-files clip's size
}  // namespace

void Animate::Impl::Create() {
  if (control) DestroyWindow(control);
  RECT r{};
  GetClientRect(parent, &r);
  if (!shell) shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const bool hasClip = shell && FindResourceW(shell, MAKEINTRESOURCEW(clip), L"AVI");
  ownDrawing = !hasClip;
  if (hasClip) {
    const DWORD style = WS_CHILD | WS_VISIBLE | (centered ? ACS_CENTER : 0) | (transparent ? ACS_TRANSPARENT : 0);
    control = CreateWindowExW(0, ANIMATE_CLASSW, L"", style, 0, 0, r.right, r.bottom, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!SendMessageW(control, ACM_OPENW, reinterpret_cast<WPARAM>(shell), LPARAM(clip))) {
      DestroyWindow(control);
      ownDrawing = true;
    }
  }
  if (ownDrawing) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DrawingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kDrawingClass;
    RegisterClassW(&wc);
    control = CreateWindowExW(0, kDrawingClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, r.right, r.bottom, parent,
                              nullptr, wc.hInstance, this);
  }
}

void Animate::Impl::Play() {
  if (!control) Create();
  frames.Restart();
  if (ownDrawing) {
    timer.SetEnabled(true);
    InvalidateRect(control, nullptr, TRUE);
  } else {
    // Zero-based range; -1 repeats without end.
    SendMessageW(control, ACM_PLAY, frames.repetitions > 0 ? frames.repetitions : -1,
                 MAKELONG(frames.start - 1, frames.stop - 1));
  }
}

LRESULT CALLBACK Animate::Impl::DrawingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg != WM_PAINT || !self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  const int x0 = (client.right - kClipWidth) / 2, y0 = (client.bottom - kClipHeight) / 2;
  HBRUSH folder = CreateSolidBrush(RGB(230, 190, 70));
  HBRUSH sheet = CreateSolidBrush(RGB(255, 255, 255));
  RECT left{x0, y0 + 20, x0 + 48, y0 + 56}, right{x0 + kClipWidth - 48, y0 + 20, x0 + kClipWidth, y0 + 56};
  FillRect(dc, &left, folder);
  FillRect(dc, &right, folder);
  // The sheet follows an arc from the left folder to the right one.
  const int span = self->frames.stop - self->frames.start;
  const double t = span > 0 ? double(self->frames.current - (self->frames.start - 1)) / span : 0.0;
  const int sx = x0 + 36 + int(t * (kClipWidth - 96));
  const int sy = y0 + 24 - int(std::sin(t * 3.14159265) * 22);
  RECT page{sx, sy, sx + 20, sy + 26};
  FillRect(dc, &page, sheet);
  FrameRect(dc, &page, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  DeleteObject(folder);
  DeleteObject(sheet);
  EndPaint(hwnd, &ps);
  return 0;
}

Animate::Animate(Window& parent) : impl_(std::make_unique<Impl>()) {
  impl_->parent = static_cast<HWND>(parent.NativeHandle());
  impl_->timer.SetEnabled(false);
  impl_->timer.SetInterval(kAnimateFrameMs);
  impl_->timer.SetOnTimer([this] {
    if (!impl_->frames.Step()) SetActive(false);
    InvalidateRect(impl_->control, nullptr, TRUE);
  });
}

Animate::~Animate() {
  if (impl_->control && IsWindow(impl_->control)) DestroyWindow(impl_->control);
  if (impl_->shell) FreeLibrary(impl_->shell);
}

void Animate::SetCommonClip(CommonClip clip) { impl_->clip = int(clip); }
void Animate::SetFrames(int startFrame, int stopFrame) {
  impl_->frames.start = startFrame;
  impl_->frames.stop = stopFrame;
}
void Animate::SetRepetitions(int repetitions) { impl_->frames.repetitions = repetitions; }
void Animate::SetCentered(bool centered) { impl_->centered = centered; }
void Animate::SetTransparent(bool transparent) { impl_->transparent = transparent; }

void Animate::SetActive(bool active) {
  if (active == impl_->active) return;
  impl_->active = active;
  if (active) {
    impl_->Play();
  } else {
    impl_->timer.SetEnabled(false);
    if (!impl_->ownDrawing && impl_->control) SendMessageW(impl_->control, ACM_STOP, 0, 0);
  }
}

bool Animate::Active() const { return impl_->active; }
// The system control keeps its frame to itself.
int Animate::CurrentFrame() const { return impl_->ownDrawing ? impl_->frames.current : -1; }
long Animate::FramesShown() const { return impl_->ownDrawing ? impl_->frames.shown : -1; }

}  // namespace platform
