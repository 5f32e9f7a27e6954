#include "tools/skintool/check.h"

#include "framework/core/stringlist.h"
#include "skin/data/winskindata.h"
#include "skin/storage/skinread.h"
#include "skin/storage/winskinini.h"

#include <iomanip>
#include <set>
#include <sstream>

namespace skintool {
namespace {

std::string SizeOf(TBitmap &image) {
  return std::to_string(image.Width()) + "x" + std::to_string(image.Height());
}

// Sections the object model reads by name (upper case); caption buttons and the colour
// sections are matched by prefix in Reads.
const std::set<std::string> kReadSections = {"TITLEBARSKIN",
                                             "PERSONALITY",
                                             "FONTS",
                                             "COLOURS",
                                             "CUSTOMCOLORS",
                                             "BUTTONS",
                                             "MDICONTROLS",
                                             "PROGRESS",
                                             "PROGRESS.CHUNK",
                                             "GROUPBOXEDGE",
                                             "GROUPBOX",
                                             "TABS",
                                             "STATUSBAREDGES",
                                             "TAB.PANE",
                                             "TOOLBARS",
                                             "COMBOBUTTON",
                                             "SUNKEDGE",
                                             "EXTRAIMAGES",
                                             "HEADERBAR",
                                             "MENUITEM",
                                             "MENUBACKGROUND",
                                             "SCROLLBAR",
                                             "HORZSCROLL",
                                             "VERTSCROLL",
                                             "HORZSCROLLTHUMB",
                                             "VERTSCROLLTHUMB",
                                             "TRACKBAR.THUMBHORZ",
                                             "TRACKBAR.THUMBVERT",
                                             "TRACKBAR.THUMBLEFT",
                                             "TRACKBAR.THUMBRIGHT",
                                             "TRACKBAR.THUMBUP",
                                             "TRACKBAR.THUMBDOWN",
                                             "UPDOWN.HORZ",
                                             "UPDOWN.VERT",
                                             "TRACK",
                                             "TRACKVERT"};

// "[section]". Appended piece by piece: i686 GCC 12 at -O3 reports a false -Wrestrict for a
// literal followed by operator+ here.
std::string Bracketed(const std::string &section) {
  std::string text(1, '[');
  text.append(section);
  text.push_back(']');
  return text;
}

bool StartsWith(const std::string &s, const char *head) {
  return s.rfind(head, 0) == 0;
}

bool Reads(const std::string &upper) {
  if (kReadSections.count(upper) != 0)
    return true;
  if (StartsWith(upper, "COLOUR"))
    return true;
  return StartsWith(upper, "BUTTON") && upper != "BUTTON" && upper != "BUTTON.RADIO" &&
         upper != "BUTTON.CHECKBOX";
}

class Checker {
public:
  Checker(TSkinData &data, TQuickIni &ini, TSkinReader &reader, std::ostream &out)
      : data_(data), ini_(ini), reader_(reader), out_(out) {}

  int Run() {
    TStringList sections;
    ini_.ReadSections(sections);
    out_ << "skin \"" << data_.SkinName << "\": " << sections.Count() << " sections\n";
    Elements();
    for (int i = 0; i < sections.Count(); ++i) {
      const std::string upper = AnsiUpperCase(sections.Get(i));
      if (!Reads(upper))
        Warn(Bracketed(sections.Get(i)) + " is not read by the object model");
      else
        ImageKeys(sections.Get(i), upper);
    }
    for (const std::string &w : warnings_)
      out_ << "warning: " << w << "\n";
    out_ << warnings_.size() << " warnings\n";
    return static_cast<int>(warnings_.size());
  }

private:
  void Warn(const std::string &text) { warnings_.push_back(text); }

  // One line for an element, and the frame checks of its image. A frame strip runs across
  // (or, for vertical, down) the image.
  void Line(const std::string &member, TDataSkinObject *e, bool vertical = false,
            const char *section = nullptr) {
    if (e == nullptr)
      return;
    out_ << std::left << std::setw(18) << member << " [" << e->Name << "] image "
         << SizeOf(*e->Image) << ", " << e->FrameCount << (vertical ? " frames down" : " frames");
    if (auto *border = dynamic_cast<TDataSkinBorder *>(e);
        border != nullptr && !border->Image2->Empty())
      out_ << ", second image " << SizeOf(*border->Image2);
    out_ << "\n";
    Frames(member, *e->Image, e->FrameCount, vertical);
    // A skin that declares fewer frames than the painters use lacks states.
    if (section != nullptr) {
      const int32_t declared = ini_.ReadInteger(section, "Frame", 0);
      if (declared > 0 && declared < e->FrameCount)
        Warn(member + ": the skin gives " + std::to_string(declared) +
             " frames, the painters draw " + std::to_string(e->FrameCount) +
             ": states are missing");
    }
  }

  void Frames(const std::string &member, TBitmap &image, int32_t count, bool vertical) {
    if (image.Empty())
      return; // nothing is drawn from it, whatever its frame count
    if (count < 1)
      Warn(member + ": frame count " + std::to_string(count) + " is drawn as one frame");
    const int frames = count < 1 ? 1 : count;
    const int length = vertical ? image.Height() : image.Width();
    if (length / frames == 0)
      Warn(member + ": " + std::to_string(frames) + " frames in " + std::to_string(length) +
           " pixels: every state is empty");
    else if (length % frames != 0)
      Warn(member + ": image " + (vertical ? "height " : "width ") + std::to_string(length) +
           " is not a whole multiple of its " + std::to_string(frames) + " frames");
  }

  void Elements() {
    const char *borders[4] = {"Borders.Left", "Borders.Right", "Borders.Top", "Borders.Bottom"};
    for (int i = 0; i < 4; ++i)
      Line(borders[i], data_.Borders[i], i == sbTop || i == sbBottom);
    Line("Title", data_.Title);
    Line("Button", data_.Button);
    if (!data_.Button->CheckImage->Empty()) {
      out_ << std::left << std::setw(18) << "Button.Check"
           << " image " << SizeOf(*data_.Button->CheckImage) << ", "
           << data_.Button->CheckFrameCount << " frames\n";
      Frames("Button.Check", *data_.Button->CheckImage, data_.Button->CheckFrameCount, false);
    }
    if (!data_.Button->RadioImage->Empty()) {
      out_ << std::left << std::setw(18) << "Button.Radio"
           << " image " << SizeOf(*data_.Button->RadioImage) << ", "
           << data_.Button->RadioFrameCount << " frames\n";
      Frames("Button.Radio", *data_.Button->RadioImage, data_.Button->RadioFrameCount, false);
    }
    for (size_t i = 0; i < data_.SysButtons.size(); ++i) {
      TDataSkinSysButton *b = data_.SysButtons[i];
      const std::string member = "SysButtons[" + std::to_string(i) + "]";
      out_ << std::left << std::setw(18) << member << " [" << b->Name << "] action " << b->Action
           << ", image " << SizeOf(*b->Image) << ", " << b->FrameCount << " frames\n";
      Frames(member, *b->Image, b->FrameCount, false);
    }
    struct Member {
      const char *name;
      TDataSkinObject *element;
      const char *section; // whose Frame key the painters override, or null
      bool vertical;
    };
    TSkinData &d = data_;
    const Member members[] = {
        {"MenuBar", d.MenuBar, nullptr, true},
        {"Progress", d.Progress, nullptr, false},
        {"ProgressChunk", d.ProgressChunk, nullptr, false},
        {"GroupBoxEdge", d.GroupBoxEdge, "GroupBoxEdge", false},
        {"GroupBox", d.GroupBox, nullptr, false},
        {"Tab", d.Tab, "Tabs", false},
        {"StatusBarEdges", d.StatusBarEdges, "StatusBarEdges", false},
        {"TabPane", d.TabPane, nullptr, false},
        {"ToolBars", d.ToolBars, "ToolBars", false},
        {"ComboButton", d.ComboButton, nullptr, false},
        {"SunkEdge", d.SunkEdge, nullptr, false},
        {"ExtraImages", d.ExtraImages, "ExtraImages", false},
        {"Headerbar", d.Headerbar, nullptr, false},
        {"MenuItem", d.MenuItem, "MenuItem", false},
        {"MenuBackground", d.MenuBackground, nullptr, false},
        {"Scrollbar", d.Scrollbar, "Scrollbar", false},
        {"HorzScroll", d.HorzScroll, "HorzScroll", false},
        {"VertScroll", d.VertScroll, "VertScroll", false},
        {"HorzScrollThumb", d.HorzScrollThumb, nullptr, false},
        {"VertScrollThumb", d.VertScrollThumb, nullptr, false},
        {"ThumbHorz", d.ThumbHorz, "Trackbar.ThumbHorz", false},
        {"ThumbVert", d.ThumbVert, "Trackbar.ThumbVert", false},
        {"ThumbLeft", d.ThumbLeft, "Trackbar.ThumbLeft", false},
        {"ThumbRight", d.ThumbRight, "Trackbar.ThumbRight", false},
        {"ThumbUp", d.ThumbUp, "Trackbar.ThumbUp", false},
        {"ThumbDown", d.ThumbDown, "Trackbar.ThumbDown", false},
        {"UpDownHorz", d.UpDownHorz, "UpDown.Horz", false},
        {"UpDownVert", d.UpDownVert, "UpDown.Vert", false},
        {"Track", d.Track, nullptr, false},
        {"TrackVert", d.TrackVert, nullptr, false},
        {"ComboArrow", d.ComboArrow, nullptr, false},
        {"Toolbar", d.Toolbar, nullptr, false},
    };
    for (const Member &m : members)
      Line(m.name, m.element, m.vertical, m.section);
  }

  // Every image key of a section the model reads must name a bitmap member of the package.
  void ImageKeys(const std::string &section, const std::string &upper) {
    std::vector<const char *> keys;
    if (upper == "PERSONALITY")
      keys = {"Left", "Right", "Top", "Bottom", "menuBar", "TextBack"};
    else if (upper == "BUTTONS")
      keys = {"Bitmap", "CheckButton", "RadioButton"};
    else if (upper == "PROGRESS")
      keys = {"Bitmap"};
    else if (upper == "TABS")
      keys = {"Image", "Border"};
    else if (upper == "UPDOWN.HORZ" || upper == "UPDOWN.VERT")
      keys = {"Image", "GlyphImage"};
    else if (StartsWith(upper, "BUTTON"))
      keys = {"ButtonImage"};
    else if (!StartsWith(upper, "COLOUR") && upper != "TITLEBARSKIN" && upper != "FONTS" &&
             upper != "CUSTOMCOLORS")
      keys = {"Image"};
    for (const char *key : keys) {
      const std::string value = ini_.ReadString(section, key, "");
      if (value.empty())
        continue;
      const std::string where = Bracketed(section) + " " + key + "=" + value;
      const std::string member = SkinImageMember(value);
      if (member.empty()) {
        Warn(where + ": not a name ending in .bmp, read as no image");
        continue;
      }
      TMemoryStream bytes;
      reader_.readfile(member, bytes);
      if (bytes.Size() == 0) {
        Warn(where + ": names no member of the skin");
        continue;
      }
      try {
        TBitmap probe;
        probe.LoadFromStream(bytes);
      } catch (const Exception &e) {
        Warn(where + ": the member is not a readable bitmap (" + e.Message() + ")");
      }
    }
  }

  TSkinData &data_;
  TQuickIni &ini_;
  TSkinReader &reader_;
  std::ostream &out_;
  std::vector<std::string> warnings_;
};

} // namespace

int CheckSkin(const std::vector<uint8_t> &skinFile, std::ostream &out) {
  TMemoryStream stream;
  if (!skinFile.empty())
    stream.WriteBuffer(skinFile.data(), static_cast<int32_t>(skinFile.size()));

  TSkinData data(nullptr);
  data.SkinFormtype = sfDLL; // a load that asks nothing of the skin manager
  stream.SetPosition(0);
  data.LoadFromStream(stream);
  if (data.NoSkin)
    throw Exception("the object model could not be read from the skin");

  TSkinReader reader;
  stream.SetPosition(0);
  if (!reader.Loadfromstream(stream))
    throw Exception("does not decode to a well-formed skin container: " + reader.ErrorText());
  TMemoryStream iniBytes;
  std::string iniName;
  reader.readIni(".ini", iniBytes, iniName);
  TQuickIni ini;
  ini.LoadFromStream(&iniBytes);
  return Checker(data, ini, reader, out).Run();
}

} // namespace skintool
