// The platform's scale on X11: the server's Xft.dpi resource, loaded with xrdb as a
// desktop loads it, sets the size the editor opens at. Each test puts back the server's
// resources as it found them, for the tests after it on the same server.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "EditorWindowFixture.h"
#include "X11WindowBackend.h"

class EditorPlatformScaleTest : public EditorWindowFixture
{
protected:
  void SetUp() override
  {
    EditorWindowFixture::SetUp();
    if (HasFatalFailure()) return;
    xcb_connection_t* c = display.Connection();
    mRoot = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t* saved = xcb_get_property_reply(
      c, xcb_get_property(c, 0, mRoot, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1u << 18), nullptr);
    if (saved && saved->type == XCB_ATOM_STRING && saved->format == 8)
      mSaved.emplace(static_cast<const char*>(xcb_get_property_value(saved)),
                     size_t(xcb_get_property_value_length(saved)));
    std::free(saved);
    ASSERT_EQ(std::system("xrdb -version >/dev/null 2>&1"), 0)
      << "xrdb is missing (x11-xserver-utils: tools/install-deps.sh --test)";
  }

  void TearDown() override
  {
    if (mRoot != XCB_NONE)
    {
      xcb_connection_t* c = display.Connection();
      if (mSaved)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, mRoot, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 8,
                            uint32_t(mSaved->size()), mSaved->data());
      else
        xcb_delete_property(c, mRoot, XCB_ATOM_RESOURCE_MANAGER);
      display.Sync();
    }
    EditorWindowFixture::TearDown();
  }

  // Replaces the server's resources with |resources| through xrdb.
  void LoadResources(const std::string& resources)
  {
    FILE* xrdb = popen("xrdb -nocpp -load -", "w");
    ASSERT_NE(xrdb, nullptr);
    std::fputs(resources.c_str(), xrdb);
    ASSERT_EQ(pclose(xrdb), 0) << "xrdb refused " << resources;
  }

  void RemoveResources() { ASSERT_EQ(std::system("xrdb -remove"), 0); }

  // Opens the editor and expects its window, and the size it tells the host, to be
  // width x height.
  void ExpectEditorOpensAt(int32_t width, int32_t height)
  {
    const xcb_window_t editor = OpenEditor(*plug, parent);
    ASSERT_NE(editor, XCB_NONE);
    WindowGeometry geometry;
    ASSERT_TRUE(display.Geometry(editor, geometry));
    EXPECT_EQ(geometry.width, width);
    EXPECT_EQ(geometry.height, height);
    ERect* rect = nullptr;
    ASSERT_EQ(plug->Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, width);
    EXPECT_EQ(rect->bottom - rect->top, height);
    EXPECT_EQ(plug->CloseEditor(), 1);
  }

  xcb_window_t mRoot = XCB_NONE;
  std::optional<std::string> mSaved;
};

TEST_F(EditorPlatformScaleTest, TheBackEndReadsXftDpiAsXrdbLoadsIt)
{
  X11WindowBackend backend;
  const void* into = reinterpret_cast<void*>(uintptr_t(parent));
  const struct
  {
    const char* resources;
    double scale;
  } cases[] = {
    {"Xft.dpi: 96\n", 1.0},
    {"Xcursor.size: 24\nXft.dpi: 144\nXft.hinting: 1\n", 1.5},
    {"Xft.dpi: 192\n", 2.0},
    {"Xft.dpi: huge\n", 0.0},
    {"Xcursor.size: 24\n", 0.0},
  };
  for (const auto& c : cases)
  {
    LoadResources(c.resources);
    EXPECT_DOUBLE_EQ(backend.PlatformScale(const_cast<void*>(into)), c.scale) << c.resources;
  }
  RemoveResources();
  EXPECT_EQ(backend.PlatformScale(const_cast<void*>(into)), 0.0) << "without RESOURCE_MANAGER";
}

TEST_F(EditorPlatformScaleTest, OpensAtTwiceThePanelWhereXftDpiIs192)
{
  LoadResources("Xft.dpi: 192\n");
  ExpectEditorOpensAt(2 * Panel::kWidth, 2 * Panel::kHeight);
}

TEST_F(EditorPlatformScaleTest, OpensAtThePanelsSizeWithoutXftDpi)
{
  RemoveResources();
  ExpectEditorOpensAt(Panel::kWidth, Panel::kHeight);
}
