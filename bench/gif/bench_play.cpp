// Playback in a real window: pace over 100 frames, and CPU use while playing.
//   animview_bench_play pace FILE FRAMES      time from OpenFile to the FRAMES-th frame change,
//                                             against the sum of the frames' delays
//   animview_bench_play cpu FILE SECONDS      process CPU time while playing for SECONDS
#include <cstdio>
#include <string>

#include "animview/frames.h"
#include "bench_gif.h"

using namespace animview::bench;
using namespace animview::win;

namespace {
Animation* g_animation = nullptr;
double g_paint_ms = 0;
int g_paints = 0;

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const double t0 = now_ms();
    if (g_animation) g_animation->paint(dc, {0, 0}, &ps.rcPaint);
    GdiFlush();
    g_paint_ms += now_ms() - t0;
    ++g_paints;
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcW(hwnd, message, wparam, lparam);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: animview_bench_play pace|cpu FILE N\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const std::wstring file = argv[2];
  const int n = _wtoi(argv[3]);
  OleInitialize(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = window_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"AnimviewBench";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(L"AnimviewBench", L"Animview bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 520, 320,
                            nullptr, nullptr, wc.hInstance, nullptr);
  Animation animation;
  g_animation = &animation;
  animation.set_window(hwnd);
  animation.services().message_box = [](const std::wstring& text, const std::wstring&, UINT) {
    std::fwprintf(stderr, L"message: %ls\n", text.c_str());
    return IDOK;
  };
  bool ok = false;
  animation.OpenFile(file, &ok);
  if (!ok) return 1;
  const double start = now_ms();
  const double cpu_start = cpu_ms();
  double nominal = animview::playback_delay_ms(animation.Image1().element_tag_ms(0));
  int changes = 0;
  std::int32_t last = animation.members().current_frame;
  double max_late = 0;
  const double limit_ms = mode == L"cpu" ? n * 1000.0 : 1e12;
  MSG msg;
  while (true) {
    const double elapsed = now_ms() - start;
    if (elapsed >= limit_ms) break;
    const DWORD wait = static_cast<DWORD>(std::min(100.0, limit_ms - elapsed) + 1);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      const std::int32_t now_frame = animation.members().current_frame;
      if (now_frame != last) {
        const double t = now_ms() - start;
        if (t - nominal > max_late) max_late = t - nominal;
        last = now_frame;
        ++changes;
        if (mode == L"pace" && changes == n) break;
        nominal += animview::playback_delay_ms(animation.Image1().element_tag_ms(now_frame));
      }
    }
    if (mode == L"pace" && changes >= n) break;
  }
  const double wall = now_ms() - start;
  const double cpu = cpu_ms() - cpu_start;
  if (mode == L"pace") {
    // `nominal` now holds the due time of the n-th change: the sum of the delays before it.
    std::printf("pace frames=%d actual_ms=%.1f nominal_ms=%.1f ratio=%.4f max_late_ms=%.1f\n", changes, wall, nominal,
                wall / nominal, max_late);
  } else {
    std::printf("cpu seconds=%.1f frames=%d cpu_ms=%.1f cpu_percent_of_core=%.3f paints=%d paint_ms=%.1f\n",
                wall / 1000.0, changes, cpu, 100.0 * cpu / wall, g_paints, g_paint_ms);
  }
  g_animation = nullptr;
  DestroyWindow(hwnd);
  return 0;
}
