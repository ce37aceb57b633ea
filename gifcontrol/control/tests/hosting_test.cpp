// The control in a container of the project's own: in-place activation, the surface
// window with its keys and pixels, resizing, and taking it down again.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "harness.h"
#include "site.h"

namespace animview::control::testing {
namespace {

constexpr DISPID kKeyDown = 6, kKeyPress = 7, kKeyUp = 8;
constexpr RECT kPosition{10, 10, 110, 70};

template <class I>
ComPtr<I> as(IUnknown* object, REFIID iid) {
  ComPtr<I> result;
  EXPECT_EQ(object->QueryInterface(iid, result.put_void()), S_OK);
  return result;
}

// The colour of the window's pixel at (x, y), read back from its DC.
COLORREF pixel(HWND hwnd, int x, int y) {
  const HDC dc = GetDC(hwnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return c;
}

class HostingTest : public ::testing::Test {
 protected:
  // One top-level window for the whole suite: under Wine without a window manager, taking
  // a top-level window down waits for it.
  static void SetUpTestSuite() { shared_host_ = std::make_unique<HostWindow>(320, 240); }
  static void TearDownTestSuite() { shared_host_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(host_.get());
    control_ = library_.create();
    ASSERT_TRUE(control_);
    site_ = TestSite::create(host_.get(), kPosition);
    ASSERT_EQ(as<IPersistStreamInit>(control_.get(), IID_IPersistStreamInit)->InitNew(), S_OK);
  }
  void TearDown() override {
    if (control_) deactivate(control_.get());
  }
  OleScope ole_;
  Library library_;
  static inline std::unique_ptr<HostWindow> shared_host_;
  const HostWindow& host_ = *shared_host_;
  ComPtr<_Animview> control_;
  ComPtr<TestSite> site_;
};

TEST_F(HostingTest, InPlaceActivationMakesAChildWindowAtTheSitesPosition) {
  const HWND hwnd = activate(control_.get(), site_.get());
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(GetParent(hwnd), host_.get());
  EXPECT_TRUE(IsWindowVisible(hwnd));
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, host_.get(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, kPosition.left);
  EXPECT_EQ(r.top, kPosition.top);
  EXPECT_EQ(r.right, kPosition.right);
  EXPECT_EQ(r.bottom, kPosition.bottom);
  EXPECT_EQ(site_->activations, 1);

  deactivate(control_.get());
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(site_->activations, 0);
}

TEST_F(HostingTest, SetObjectRectsMovesTheWindowAndTheExtentFollows) {
  const HWND hwnd = activate(control_.get(), site_.get());
  ASSERT_TRUE(hwnd);
  const RECT moved{20, 30, 20 + 150, 30 + 75};  // 150 x 75 pixels: 2250 x 1125 twips
  ASSERT_EQ(as<IOleInPlaceObject>(control_.get(), IID_IOleInPlaceObject)->SetObjectRects(&moved, &moved), S_OK);
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 150);
  EXPECT_EQ(client.bottom, 75);
  SIZEL extent{};
  as<IOleObject>(control_.get(), IID_IOleObject)->GetExtent(DVASPECT_CONTENT, &extent);
  EXPECT_EQ(extent.cx, 3969);  // 2250 twips in HIMETRIC
  EXPECT_EQ(extent.cy, 1984);
}

// The surface shows BackColor, the border, and the frame on top, in its own window.
TEST_F(HostingTest, SurfacePaintsBackgroundBorderAndFrames) {
  const HWND hwnd = activate(control_.get(), site_.get());
  ASSERT_TRUE(hwnd);
  ASSERT_EQ(control_->put_BackColor(0x0000FF00), S_OK);  // green
  ASSERT_EQ(control_->put_BorderStyle(1), S_OK);
  UpdateWindow(hwnd);
  EXPECT_EQ(pixel(hwnd, 0, 0), RGB(0, 0, 0)) << "single-line border";
  EXPECT_EQ(pixel(hwnd, 50, 40), RGB(0, 255, 0)) << "BackColor";

  const TempFile gif(L"animview_hosting.gif", three_colour_gif());
  const Bstr name(gif.path());
  control_->put_Filename(name.get());
  VARIANT_BOOL opened = VARIANT_FALSE;
  ASSERT_EQ(control_->OpenFile(&opened), S_OK);
  ASSERT_EQ(opened, VARIANT_TRUE);
  UpdateWindow(hwnd);
  EXPECT_EQ(pixel(hwnd, 5, 5), RGB(255, 0, 0)) << "first frame (red) at the top-left corner";
  EXPECT_EQ(pixel(hwnd, 50, 40), RGB(0, 255, 0)) << "outside the frame";

  ASSERT_EQ(control_->put_BorderStyle(0), S_OK);
  UpdateWindow(hwnd);
  EXPECT_EQ(pixel(hwnd, 0, 0), RGB(255, 0, 0)) << "no border: the frame reaches the corner";
}

// A transparent surface shows its host's window wherever nothing is drawn on it.
TEST_F(HostingTest, TransparentSurfaceShowsTheHostThrough) {
  const HWND hwnd = activate(control_.get(), site_.get());
  ASSERT_TRUE(hwnd);
  ASSERT_EQ(control_->put_BackColor(0x0000FF00), S_OK);
  ASSERT_EQ(control_->put_BorderStyle(0), S_OK);
  ASSERT_EQ(control_->put_BackStyle(0), S_OK);
  UpdateWindow(hwnd);
  EXPECT_EQ(pixel(hwnd, 50, 40), GetSysColor(kHostColour));
  ASSERT_EQ(control_->put_BackStyle(1), S_OK);
  UpdateWindow(hwnd);
  EXPECT_EQ(pixel(hwnd, 50, 40), RGB(0, 255, 0));
}

// Keys reach the host as KeyDown, KeyPress and KeyUp with by-reference arguments; the
// control goes on with what the host's handler left, so a second handler sees it.
TEST_F(HostingTest, KeyEventsPassTheirArgumentsByReference) {
  const HWND hwnd = activate(control_.get(), site_.get());
  ASSERT_TRUE(hwnd);
  const auto first = EventSink::create([](DISPID id, DISPPARAMS& params) {
    if (id == kKeyPress) *V_I2REF(&params.rgvarg[0]) = 0;        // KeyAscii := 0
    if (id == kKeyDown) *V_I2REF(&params.rgvarg[1]) = VK_F2;     // KeyCode := F2
  });
  const auto second = EventSink::create();
  connect(control_.get(), DIID___Animview, first.get());
  connect(control_.get(), DIID___Animview, second.get());

  SendMessageW(hwnd, WM_KEYDOWN, 'A', 0x001E0001);
  SendMessageW(hwnd, WM_CHAR, 'a', 0x001E0001);
  SendMessageW(hwnd, WM_KEYUP, 'A', 0xC01E0001);

  ASSERT_EQ(first->calls.size(), 3u);
  EXPECT_EQ(first->ids(), (std::vector<DISPID>{kKeyDown, kKeyPress, kKeyUp}));
  EXPECT_EQ(first->calls[0].args, (std::vector<long>{'A', 0}));
  EXPECT_EQ(first->calls[1].args, (std::vector<long>{'a'}));
  EXPECT_EQ(first->calls[2].args, (std::vector<long>{'A', 0}));
  ASSERT_EQ(second->calls.size(), 3u);
  EXPECT_EQ(second->calls[0].args, (std::vector<long>{VK_F2, 0}));
  EXPECT_EQ(second->calls[1].args, (std::vector<long>{0}));
  EXPECT_EQ(second->calls[2].args, (std::vector<long>{'A', 0}));
}

// A simple frame's container sees each of its messages before and after the control, and
// may keep one from it.
TEST_F(HostingTest, SimpleFrameContainerFiltersTheSurfacesMessages) {
  const HWND hwnd = activate(control_.get(), site_.get());
  ASSERT_TRUE(hwnd);
  const auto events = EventSink::create();
  connect(control_.get(), DIID___Animview, events.get());
  site_->pre.clear();
  site_->post.clear();
  SendMessageW(hwnd, WM_CHAR, 'x', 0);
  EXPECT_EQ(site_->pre, (std::vector<UINT>{WM_CHAR}));
  EXPECT_EQ(site_->post, (std::vector<UINT>{WM_CHAR}));
  EXPECT_EQ(events->ids(), (std::vector<DISPID>{kKeyPress}));

  site_->keep = WM_CHAR;
  site_->post.clear();
  SendMessageW(hwnd, WM_CHAR, 'y', 0);
  EXPECT_TRUE(site_->post.empty());
  EXPECT_EQ(events->calls.size(), 1u) << "the container kept the key from the control";
}

TEST_F(HostingTest, CloseTakesTheWindowDownAndSavesOnlyWhenAskedAndDirty) {
  struct Case {
    const char* what;
    bool change;
    DWORD option;
    int saves;
  };
  const Case cases[] = {{"clean, save if dirty", false, OLECLOSE_SAVEIFDIRTY, 0},
                        {"dirty, no save", true, OLECLOSE_NOSAVE, 0},
                        {"dirty, save if dirty", true, OLECLOSE_SAVEIFDIRTY, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto control = library_.create();
    ASSERT_TRUE(control);
    const auto site = TestSite::create(host_.get(), kPosition);
    ASSERT_EQ(as<IPersistStreamInit>(control.get(), IID_IPersistStreamInit)->InitNew(), S_OK);
    const HWND hwnd = activate(control.get(), site.get());
    ASSERT_TRUE(hwnd);
    if (c.change) control->put_BackStyle(0);
    const auto object = as<IOleObject>(control.get(), IID_IOleObject);
    ASSERT_EQ(object->Close(c.option), S_OK);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(site->saves, c.saves);
    HWND none = nullptr;
    EXPECT_EQ(as<IOleInPlaceObject>(control.get(), IID_IOleInPlaceObject)->GetWindow(&none), E_FAIL);
    object->SetClientSite(nullptr);
  }
}

}  // namespace
}  // namespace animview::control::testing
