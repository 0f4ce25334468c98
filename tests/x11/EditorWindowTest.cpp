// Brindlow's editor window in a Linux host: where it opens, what it shows, and how it
// survives what hosts do to it.
#include <chrono>
#include <thread>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "EditorWindowFixture.h"
#include "HeadlessPanel.h"

namespace
{
// Everything the process writes to its standard error between construction and Text().
class StderrCapture
{
public:
  StderrCapture()
  {
    std::fflush(stderr);
    mPath = testing::TempDir() + "stderr-" + std::to_string(getpid()) + ".txt";
    const int file = open(mPath.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    mSaved = dup(2);
    dup2(file, 2);
    close(file);
  }
  ~StderrCapture() { Restore(); }
  std::string Text()
  {
    Restore();
    std::ifstream in(mPath);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(mPath.c_str());
    return text.str();
  }

private:
  void Restore()
  {
    if (mSaved < 0) return;
    std::fflush(stderr);
    dup2(mSaved, 2);
    close(mSaved);
    mSaved = -1;
  }
  std::string mPath;
  int mSaved = -1;
};
} // namespace

class EditorWindowTest : public EditorWindowFixture
{
protected:
  std::vector<float> Values()
  {
    std::vector<float> values;
    for (VstInt32 i = 0; i < plug->Effect()->numParams; ++i) values.push_back(plug->Parameter(i));
    return values;
  }

  // Idles until the window shows |expected|; reports how many pixels differ when it never does.
  void ExpectShows(xcb_window_t window, const WindowPixels& expected)
  {
    WindowPixels shown;
    const bool same = plug->IdleUntil([&] { return display.ReadPixels(window, shown) && shown.rgb == expected.rgb; });
    EXPECT_TRUE(same) << CountDifferingPixels(shown, expected) << " pixels differ from the headless panel";
  }
};

TEST_F(EditorWindowTest, OpensAsAChildOfThePanelsSizeAtTheParentsCorner)
{
  ERect* rect = nullptr;
  ASSERT_EQ(plug->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, Panel::kWidth);
  EXPECT_EQ(rect->bottom - rect->top, Panel::kHeight);

  const xcb_window_t editor = OpenEditor(*plug, parent);
  ASSERT_NE(editor, XCB_NONE) << "effEditOpen did not answer 1 with a window inside the parent";
  WindowGeometry geometry;
  ASSERT_TRUE(display.Geometry(editor, geometry));
  EXPECT_EQ(geometry.parent, parent);
  EXPECT_EQ(geometry.x, 0);
  EXPECT_EQ(geometry.y, 0);
  EXPECT_EQ(geometry.width, Panel::kWidth);
  EXPECT_EQ(geometry.height, Panel::kHeight);
  // An XEmbed client from the start: embedders (a GtkSocket) read _XEMBED_INFO, two
  // 32-bit values, version 0 and no XEMBED_MAPPED flag (the embedder maps it).
  xcb_connection_t* c = display.Connection();
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, 12, "_XEMBED_INFO"), nullptr);
  ASSERT_NE(atom, nullptr);
  xcb_get_property_reply_t* info =
    xcb_get_property_reply(c, xcb_get_property(c, 0, editor, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 2), nullptr);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->type, atom->atom);
  EXPECT_EQ(info->format, 32);
  ASSERT_EQ(xcb_get_property_value_length(info), 8) << "no _XEMBED_INFO on the editor window";
  const uint32_t* values = static_cast<const uint32_t*>(xcb_get_property_value(info));
  EXPECT_EQ(values[0], 0u);
  EXPECT_EQ(values[1] & 1u, 0u);
  std::free(info);
  std::free(atom);
  // The rectangle stays what it was.
  ASSERT_EQ(plug->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, Panel::kWidth);

  EXPECT_EQ(plug->CloseEditor(), 1);
  display.Sync();
  EXPECT_TRUE(plug->IdleUntil([&] { return display.Children(parent).empty(); })) << "the window outlived effEditClose";
}

TEST_F(EditorWindowTest, ShowsTheSamePixelsAsTheHeadlessPanel)
{
  const xcb_window_t editor = OpenEditor(*plug, parent);
  ASSERT_NE(editor, XCB_NONE);
  std::string error;
  WindowPixels expected;
  // The first opening shows the splash over the default values.
  ASSERT_TRUE(PaintHeadlessPanel(Values(), true, expected, error)) << error;
  ExpectShows(editor, expected);

  // Values from the host reach the window; the splash goes when clicked.
  display.Click(editor, Panel::kSplashX, Panel::kSplashY, Mouse::kLeft);
  plug->SetParameter(Panel::kDelay, 0.8f);
  plug->SetParameter(Panel::kPan, 1.0f);
  plug->SetParameter(Panel::kWetMix, 0.25f);
  ASSERT_TRUE(PaintHeadlessPanel(Values(), false, expected, error)) << error;
  ExpectShows(editor, expected);
}

TEST_F(EditorWindowTest, RepaintsWhatAnotherWindowUncovers)
{
  const xcb_window_t editor = OpenEditor(*plug, parent);
  ASSERT_NE(editor, XCB_NONE);
  WindowPixels painted;
  ASSERT_TRUE(plug->IdleUntil([&] {
    WindowPixels now;
    // Painted once the panel stops changing between two idles.
    const bool same = display.ReadPixels(editor, now) && now.rgb == painted.rgb;
    painted = now;
    return same;
  }));

  // A window of the host over the middle of the panel, then gone again.
  const xcb_window_t cover = display.CreateParent(120, 90, 200, 120);
  display.DestroyWindow(cover);
  WindowPixels shown;
  EXPECT_TRUE(plug->IdleUntil([&] { return display.ReadPixels(editor, shown) && shown.rgb == painted.rgb; }))
    << CountDifferingPixels(shown, painted) << " pixels were not repainted";
}

TEST_F(EditorWindowTest, SurvivesTheHostDestroyingItsWindowFirst)
{
  ASSERT_NE(OpenEditor(*plug, parent), XCB_NONE);
  StderrCapture capture;
  display.DestroyWindow(parent);
  parent = XCB_NONE;
  plug->IdleFor(5);
  EXPECT_EQ(plug->CloseEditor(), 1);
  plug->IdleFor(2);
  EXPECT_TRUE(plug->ProcessBlock());
  EXPECT_EQ(capture.Text(), "");

  // A new window of the host gets a new editor.
  parent = display.CreateParent(40, 40, Panel::kWidth, Panel::kHeight);
  EXPECT_NE(OpenEditor(*plug, parent), XCB_NONE);
}

TEST_F(EditorWindowTest, ClosingThePlugInOnAnotherThreadLetsTheWindowGo)
{
  // Some hosts close plug-ins on a worker thread, editor still open: the window is let go
  // of without a request from that thread, and the server removes it with the connection.
  ASSERT_NE(OpenEditor(*plug, parent), XCB_NONE);
  std::thread closer([&] { plug.reset(); });
  closer.join();
  bool gone = false;
  for (int i = 0; i < 100 && !gone; ++i)
  {
    gone = display.Children(parent).empty();
    if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(gone) << "the editor window outlived its plug-in";
}

TEST_F(EditorWindowTest, IdleWithoutAnOpenEditorDoesNothing)
{
  EXPECT_EQ(plug->Idle(), 0);
  EXPECT_EQ(plug->CloseEditor(), 1); // closing what was never opened
  EXPECT_EQ(plug->Idle(), 0);
  ASSERT_NE(OpenEditor(*plug, parent), XCB_NONE);
  EXPECT_EQ(plug->CloseEditor(), 1);
  EXPECT_EQ(plug->CloseEditor(), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(plug->Idle(), 0);
  EXPECT_TRUE(plug->ProcessBlock());
}

TEST_F(EditorWindowTest, OpeningAgainReplacesTheFirstWindow)
{
  ASSERT_NE(OpenEditor(*plug, parent), XCB_NONE);
  const xcb_window_t second = display.CreateParent(500, 40, Panel::kWidth, Panel::kHeight);
  const xcb_window_t editor = OpenEditor(*plug, second);
  ASSERT_NE(editor, XCB_NONE);
  EXPECT_TRUE(plug->IdleUntil([&] { return display.Children(parent).empty(); })) << "the first window stayed";
  WindowGeometry geometry;
  ASSERT_TRUE(display.Geometry(editor, geometry));
  EXPECT_EQ(geometry.x, 0) << "the new window is not at the new parent's corner";
  EXPECT_EQ(geometry.y, 0);

  // The new window is the one that answers the mouse.
  plug->IdleFor(2);
  display.Click(editor, Panel::kSplashX, Panel::kSplashY, Mouse::kLeft);
  plug->IdleFor(14);
  display.Click(editor, Panel::kPanX, Panel::kPanY, Mouse::kLeft);
  EXPECT_TRUE(plug->IdleUntil([&] { return plug->ParameterDisplay(Panel::kPan) == "Right"; }));
  EXPECT_EQ(plug->CloseEditor(), 1);
  display.DestroyWindow(second);
}

TEST_F(EditorWindowTest, TwoInstancesKeepTheirEditorsApart)
{
  PluginInstance other(module);
  ASSERT_NE(other.Effect(), nullptr);
  const xcb_window_t otherParent = display.CreateParent(500, 40, Panel::kWidth, Panel::kHeight);
  const xcb_window_t editor = OpenEditorWithoutSplash();
  ASSERT_NE(editor, XCB_NONE);
  ASSERT_NE(OpenEditor(other, otherParent), XCB_NONE);

  display.Click(editor, Panel::kPanX, Panel::kPanY, Mouse::kLeft);
  ASSERT_TRUE(plug->IdleUntil([&] {
    other.Idle();
    return plug->ParameterDisplay(Panel::kPan) == "Right";
  }));
  other.IdleFor(3);
  EXPECT_EQ(other.ParameterDisplay(Panel::kPan), "Left");
  for (const HostCall& call : other.Calls()) EXPECT_NE(call.opcode, audioMasterAutomate);

  // Closing one leaves the other working.
  EXPECT_EQ(other.CloseEditor(), 1);
  display.Click(editor, Panel::kWetMixX, Panel::kWetMixY, Mouse::kWheelUp);
  EXPECT_TRUE(plug->IdleUntil([&] { return CountCalls(audioMasterAutomate, Panel::kWetMix) == 1; }));
  display.DestroyWindow(otherParent);
}
