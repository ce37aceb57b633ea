// Animview, Win32 side: element array, picture decoding, LoadGif, Timer1 and the engine.
#include "animview/frames.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace animview::win {
namespace {

constexpr UINT kStop = MB_OK | MB_ICONSTOP;  // 16: stop icon, OK button
constexpr UINT_PTR kTimerId = 1;
constexpr std::int32_t kMaxFrames = 32767;   // hosts count frames in a 16-bit signed integer
constexpr UINT kBusyRetryMs = 10;            // a tick met during a load or close tries again

int screen_dpi(int index) {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, index) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

bool read_whole_file(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
            static_cast<unsigned long long>(size.QuadPart) < std::numeric_limits<std::size_t>::max() / 2;
  if (ok) {
    try {
      bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + done, want, &got, nullptr) || got == 0) ok = false;
    done += got;
  }
  CloseHandle(file);  // closed again at once (step 4)
  return ok;
}

}  // namespace

// ----------------------------------------------------------------------------- errors

const wchar_t* describe(LoadError error) {
  switch (error) {
    case LoadError::Overflow: return L"Overflow";
    case LoadError::OutOfMemory: return L"Out of memory";
    case LoadError::Locked: return L"This array is fixed or temporarily locked";
    case LoadError::FileAccess: return L"Path/File access error";
    case LoadError::InvalidPicture: return L"Invalid picture";
  }
  return L"Unexpected error";
}

std::wstring describe_hresult(HRESULT hr) {
  if ((static_cast<std::uint32_t>(hr) & 0xFFFF0000u) == 0x800A0000u)
    return describe(static_cast<LoadError>(hr & 0xFFFF));
  wchar_t* text = nullptr;
  std::wstring out;
  if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr) &&
      text) {
    out = text;
    LocalFree(text);
    while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L' ')) out.pop_back();
  }
  return out.empty() ? L"Automation error" : out;
}

// ----------------------------------------------------------------------------- pictures

ScreenMetrics ScreenMetrics::from_screen() {
  ScreenMetrics m;
  m.twips_per_pixel_x = 1440.0 / screen_dpi(LOGPIXELSX);
  m.twips_per_pixel_y = 1440.0 / screen_dpi(LOGPIXELSY);
  return m;
}

HRESULT decode_picture(std::span<const std::uint8_t> bytes, ComPtr<IPicture>& picture) {
  picture.Reset();
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return E_INVALIDARG;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return E_OUTOFMEMORY;
  void* p = GlobalLock(memory);
  if (!p) {
    GlobalFree(memory);
    return E_OUTOFMEMORY;
  }
  std::memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(memory, TRUE, &stream);  // the stream frees the memory
  if (FAILED(hr)) {
    GlobalFree(memory);
    return hr;
  }
  // fRunmode TRUE: the picture does not keep a copy of the original GIF data.
  hr = OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), TRUE, IID_IPicture,
                      reinterpret_cast<void**>(picture.GetAddressOf()));
  if (SUCCEEDED(hr) && !picture) hr = E_FAIL;
  return hr;
}

SIZE picture_size_px(IPicture* picture) {
  SIZE s{0, 0};
  if (!picture) return s;
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture->get_Width(&w);
  picture->get_Height(&h);
  static const int dpi_x = screen_dpi(LOGPIXELSX);
  static const int dpi_y = screen_dpi(LOGPIXELSY);
  s.cx = MulDiv(w, dpi_x, 2540);
  s.cy = MulDiv(h, dpi_y, 2540);
  return s;
}

// ----------------------------------------------------------------------------- Image1

ElementArray::ElementArray() : metrics(ScreenMetrics::from_screen()) {
  elements_.emplace_back();  // element 0, hidden, part of the control's design
  z_order_.push_back(0);
}

std::int32_t ElementArray::add() {
  Element e;
  e.width = elements_[0].width;
  e.height = elements_[0].height;
  elements_.push_back(std::move(e));
  const std::int32_t index = count() - 1;
  z_order_.push_back(index);  // a new element comes on top of its siblings
  return index;
}

void ElementArray::remove_all_but_first() {
  composition_.clear();
  while (count() > 1) {
    const std::int32_t index = 1;  // ascending order: always the lowest one left
    invalidate(index);
    elements_.erase(elements_.begin() + 1);
    z_order_.erase(std::find(z_order_.begin(), z_order_.end(), index));
    for (auto& z : z_order_)
      if (z > index) --z;
  }
}

void ElementArray::set_visible(std::int32_t index, bool visible) {
  if (index < 0 || index >= count()) return;
  Element& e = elements_[static_cast<std::size_t>(index)];
  if (e.visible == visible) return;
  // The area must be invalidated while the element shows: a hidden one tells nothing.
  if (!visible) invalidate(index);
  e.visible = visible;
  if (visible) invalidate(index);
}

void ElementArray::set_picture(std::int32_t index, ComPtr<IPicture> picture) {
  if (index < 0 || index >= count()) return;
  invalidate(index);  // the old picture's area
  composition_.clear();  // lets go of the old picture at once
  elements_[static_cast<std::size_t>(index)].picture = std::move(picture);
  invalidate(index);
}

void ElementArray::bring_to_front(std::int32_t index) {
  if (index < 0 || index >= count() || z_order_.back() == index) return;
  z_order_.erase(std::find(z_order_.begin(), z_order_.end(), index));
  z_order_.push_back(index);
  invalidate(index);
}

std::uint32_t ElementArray::element_tag_ms(std::int32_t index) const {
  return index >= 0 && index < count() ? tag_number(elements_[static_cast<std::size_t>(index)].tag) : 0;
}

std::uint8_t ElementArray::element_disposal(std::int32_t index) const {
  return index >= 0 && index < count() ? elements_[static_cast<std::size_t>(index)].disposal : 0;
}

RECT ElementArray::rect_px(std::int32_t index) const {
  const Element& e = at(index);
  const SIZE s = picture_size_px(e.picture.Get());
  RECT r;
  r.left = static_cast<LONG>(std::lround(e.left / metrics.twips_per_pixel_x));
  r.top = static_cast<LONG>(std::lround(e.top / metrics.twips_per_pixel_y));
  r.right = r.left + s.cx;
  r.bottom = r.top + s.cy;
  return r;
}

void ElementArray::invalidate(std::int32_t index) const {
  const Element& e = at(index);
  if (!on_invalidate || !e.visible || !e.picture) return;
  on_invalidate(rect_px(index));
}

std::uint32_t tag_number(const std::wstring& tag) {
  std::size_t i = 0;
  while (i < tag.size() && (tag[i] == L' ' || tag[i] == L'\t')) ++i;
  std::uint64_t v = 0;
  for (; i < tag.size() && tag[i] >= L'0' && tag[i] <= L'9'; ++i) {
    v = v * 10 + static_cast<std::uint64_t>(tag[i] - L'0');
    if (v > 0xFFFFFFFFull) return 0xFFFFFFFFu;
  }
  return static_cast<std::uint32_t>(v);
}

// ----------------------------------------------------------------------------- LoadGif

int LoadServices::show(const std::wstring& text, UINT flags) const {
  if (message_box) return message_box(text, caption, flags);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void LoadServices::yield_now() const {
  if (yield) {
    yield();
    return;
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the host's own loop
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HRESULT LoadGif(const std::wstring& file, ElementArray& elements, PictureHolder& temp_pict,
                FrameStoreMembers& members, const LoadServices& services, bool* result) {
  bool dummy = false;
  bool& ok = result ? *result : dummy;
  ok = false;
  if (elements.busy()) return kErrLocked;  // a host event during a load's yield: the store is left intact
  ElementArray::BusyScope busy(elements);

  // 1. The file must exist (a directory does not count).
  const DWORD attributes = file.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    services.show(L"File " + file + L" not found", kStop);
    return S_OK;
  }
  // 2. From here on every failure leaves through the error path.
  auto error_path = [&](LoadError error) {
    services.show(std::to_wstring(static_cast<std::int32_t>(error)) + L" " + describe(error), kStop);
    ok = false;
    return S_OK;
  };
  // 3. Remove elements 1 to n-1.
  elements.remove_all_but_first();
  // 4. Read the whole file.
  std::vector<std::uint8_t> bytes;
  if (!read_whole_file(file, bytes)) return error_path(LoadError::FileAccess);
  // 5, 6. Cut it into frames by its block structure; the signature test.
  SplitResult split;
  try {
    split = split_gif(bytes);
  } catch (const std::bad_alloc&) {
    return error_path(LoadError::OutOfMemory);
  }
  if (!split.is_gif()) {
    services.show(L"This file is not a *.gif file", kStop);
    return S_OK;
  }
  std::vector<std::uint8_t>().swap(bytes);  // the frames hold their own copies
  // 7. The result becomes True.
  ok = true;
  // 8. RepeatTimes from the NETSCAPE2.0 / ANIMEXTS1.0 extension.
  members.repeat_times = split.loop_count;
  if (split.frames.empty()) return error_path(LoadError::InvalidPicture);
  if (split.frames.size() > static_cast<std::size_t>(kMaxFrames)) return error_path(LoadError::Overflow);
  if (split.decoded_bytes() > kMaxDecodedBytes) return error_path(LoadError::OutOfMemory);  // never exhaust the host's memory

  // 9, 10. One element per frame, each decoded from memory: no frame file is ever written.
  ComPtr<IPicture> last_picture;
  std::int32_t loaded = 0;
  for (std::size_t k = 0; k < split.frames.size(); ++k) {
    Frame& f = split.frames[k];
    ComPtr<IPicture> picture;
    const HRESULT hr = decode_picture(f.gif, picture);
    std::vector<std::uint8_t>().swap(f.gif);
    if (FAILED(hr)) {
      // A last image cut short that the loader cannot decode at all is left out.
      if (f.truncated && loaded > 0) break;
      return error_path(hr == E_OUTOFMEMORY ? LoadError::OutOfMemory : LoadError::InvalidPicture);
    }
    std::int32_t index = 0;
    if (k > 0) {
      members.x_off = f.left;
      members.y_off = f.top;
      try {
        index = elements.add();
      } catch (const std::bad_alloc&) {
        return error_path(LoadError::OutOfMemory);
      }
      Element& e = elements.at(index);
      e.left = elements.at(0).left + f.left * elements.metrics.twips_per_pixel_x;
      e.top = elements.at(0).top + f.top * elements.metrics.twips_per_pixel_y;
    }
    Element& e = elements.at(index);
    e.tag = std::to_wstring(f.delay_ms());  // the file's value (playback shows 0 and 10 for 100 ms, as browsers do)
    e.disposal = f.disposal;
    e.opaque = !f.transparent && !f.truncated && !f.interlaced;
    elements.set_picture(index, picture);
    last_picture = picture;
    ++loaded;
    services.yield_now();  // once per frame, so a long load keeps the host responsive
  }
  temp_pict.picture = last_picture;
  elements.set_visible(0, true);
  // 11. TotalFrames.
  members.total_frames = elements.count() - 1;
  return S_OK;
}

// ----------------------------------------------------------------------------- Timer1

QpcClock::QpcClock() {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  frequency_ = f.QuadPart > 0 ? f.QuadPart : 1;
}

std::int64_t QpcClock::now_us() const {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  const std::int64_t seconds = c.QuadPart / frequency_;
  const std::int64_t rest = c.QuadPart % frequency_;
  return seconds * 1'000'000 + rest * 1'000'000 / frequency_;
}

namespace {
HINSTANCE this_module() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&this_module), &module);
  return module;
}
constexpr wchar_t kTimerClass[] = L"AnimviewTimer1";
}  // namespace

WindowTimer::WindowTimer(std::function<void()> on_tick) : on_tick_(std::move(on_tick)) {
  const HINSTANCE instance = this_module();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, kTimerClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowTimer::window_proc;
    wc.hInstance = instance;
    wc.lpszClassName = kTimerClass;
    RegisterClassExW(&wc);
  }
  hwnd_ = CreateWindowExW(0, kTimerClass, L"Timer1", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void WindowTimer::unregister_class() { UnregisterClassW(kTimerClass, this_module()); }

WindowTimer::~WindowTimer() {
  if (hwnd_) {
    KillTimer(hwnd_, kTimerId);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void WindowTimer::arm(std::uint32_t due_in_ms) {
  armed_ = true;
  if (hwnd_) SetTimer(hwnd_, kTimerId, std::max<UINT>(due_in_ms, 1), nullptr);
}

void WindowTimer::disarm() {
  armed_ = false;
  if (hwnd_) KillTimer(hwnd_, kTimerId);
}

LRESULT CALLBACK WindowTimer::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER && wparam == kTimerId) {
    KillTimer(hwnd, kTimerId);  // one-shot; the tick arms the next one
    auto* self = reinterpret_cast<WindowTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->armed_) {
      self->armed_ = false;
      if (self->on_tick_) self->on_tick_();
    }
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// ----------------------------------------------------------------------------- engine

Animation::Animation(LoadServices services)
    : services_(std::move(services)),
      timer_([this] { on_timer(); }),
      playback_(members_, image1_, timer_, clock_) {}

void Animation::set_window(HWND hwnd) {
  hwnd_ = hwnd;
  services_.owner = hwnd;
  image1_.on_invalidate = [hwnd](const RECT& r) { InvalidateRect(hwnd, &r, FALSE); };
}

void Animation::on_timer() {
  if (locked()) {  // a load or close is yielding: no frame change under its feet
    timer_.arm(kBusyRetryMs);
    return;
  }
  playback_.tick();
}

HRESULT Animation::LoadGif(const std::wstring& file, ElementArray& elements, PictureHolder& temp_pict,
                           bool* result) {
  if (result) *result = false;
  if (locked() || elements.busy()) return kErrLocked;
  ++busy_;
  const HRESULT hr = win::LoadGif(file, elements, temp_pict, members_, services_, result);
  --busy_;
  return hr;
}

HRESULT Animation::OpenFile(const std::wstring& filename, bool* result) {
  if (result) *result = false;
  if (locked()) return kErrLocked;
  bool loaded = false;
  ++busy_;
  playback_.begin_open();
  const HRESULT hr = win::LoadGif(filename, image1_, image2_, members_, services_, &loaded);
  playback_.finish_open(SUCCEEDED(hr) && loaded);
  --busy_;
  if (FAILED(hr)) return hr;
  if (callbacks.on_open) callbacks.on_open();  // every call, after loading
  if (result) *result = loaded;
  return S_OK;
}

bool Animation::Play() {
  playback_.play();
  return false;
}

bool Animation::Pause() {
  playback_.pause();
  return false;
}

HRESULT Animation::CloseFile() {
  if (locked()) return kErrLocked;
  if (callbacks.on_close) callbacks.on_close();  // before anything is changed
  if (locked()) return kErrLocked;
  ++busy_;
  ElementArray::BusyScope busy(image1_);
  if (callbacks.clear_background) callbacks.clear_background();
  playback_.close();
  for (std::int32_t i = 0; i < image1_.count(); ++i) {
    image1_.set_picture(i, nullptr);
    services_.yield_now();
  }
  members_.close_f = false;
  --busy_;
  return S_OK;
}

std::wstring Animation::GetTimeWait() const {
  const std::string s = playback_.time_wait();
  return std::wstring(s.begin(), s.end());
}

}  // namespace animview::win
