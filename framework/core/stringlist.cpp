#include "framework/core/stringlist.h"

#include "framework/core/streams.h"

#include <algorithm>

namespace {

// Lead bytes of a double-byte character in code page 936.
bool IsLeadByte(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}

template <typename Fold> std::string FoldCase(const std::string &s, Fold fold) {
  std::string out = s;
  for (size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c) && i + 1 < out.size()) {
      ++i; // keep the trail byte as it is
    } else {
      out[i] = static_cast<char>(fold(c));
    }
  }
  return out;
}

unsigned char LowerAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}
unsigned char UpperAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

int CompareBytes(const std::string &a, const std::string &b) {
  const int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

} // namespace

std::string AnsiLowerCase(const std::string &s) {
  return FoldCase(s, LowerAscii);
}
std::string AnsiUpperCase(const std::string &s) {
  return FoldCase(s, UpperAscii);
}

int AnsiCompareText(const std::string &a, const std::string &b) {
  return CompareBytes(AnsiLowerCase(a), AnsiLowerCase(b));
}

// ---------------------------------------------------------------------------------------------
// TStrings

int TStrings::AddObject(const std::string &s, TObject *object) {
  const int index = Count();
  InsertObject(index, s, object);
  return index;
}

void TStrings::AddStrings(const TStrings &source) {
  BeginUpdate();
  for (int i = 0; i < source.Count(); ++i) {
    AddObject(source.Get(i), source.GetObject(i));
  }
  EndUpdate();
}

void TStrings::Assign(const TStrings &source) {
  if (&source == this) {
    return;
  }
  BeginUpdate();
  Clear();
  AddStrings(source);
  EndUpdate();
}

int TStrings::IndexOf(const std::string &s) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(Get(i), s) == 0) {
      return i;
    }
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject *object) const {
  for (int i = 0; i < Count(); ++i) {
    if (GetObject(i) == object) {
      return i;
    }
  }
  return -1;
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(const std::string &text) {
  BeginUpdate();
  Clear();
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      Add(text.substr(pos));
      break;
    }
    Add(text.substr(pos, end - pos));
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') {
      ++pos;
    }
  }
  EndUpdate();
}

void TStrings::LoadFromStream(TStream &stream) {
  const int64_t left = stream.Size() - stream.Position();
  std::string text(static_cast<size_t>(std::max<int64_t>(left, 0)), '\0');
  if (!text.empty()) {
    stream.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  }
  SetText(text);
}

void TStrings::SaveToStream(TStream &stream) const {
  const std::string text = Text();
  if (!text.empty()) {
    stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
  }
}

void TStrings::LoadFromFile(const std::string &fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string &fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

std::string TStrings::Names(int index) const {
  const std::string s = Get(index);
  const size_t sep = s.find(NameValueSeparator);
  return sep == std::string::npos ? std::string() : s.substr(0, sep);
}

std::string TStrings::ValueFromIndex(int index) const {
  const std::string s = Get(index);
  const size_t sep = s.find(NameValueSeparator);
  return sep == std::string::npos ? std::string() : s.substr(sep + 1);
}

int TStrings::IndexOfName(const std::string &name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string s = Get(i);
    const size_t sep = s.find(NameValueSeparator);
    if (sep != std::string::npos && CompareStrings(s.substr(0, sep), name) == 0) {
      return i;
    }
  }
  return -1;
}

std::string TStrings::Values(const std::string &name) const {
  const int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::string &name, const std::string &value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) {
      Delete(i);
    }
    return;
  }
  const std::string line = name + NameValueSeparator + value;
  if (i < 0) {
    Add(line);
  } else {
    Put(i, line);
  }
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) {
    SetUpdateState(true);
  }
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) {
    SetUpdateState(false);
  }
}

int TStrings::CompareStrings(const std::string &a, const std::string &b) const {
  return AnsiCompareText(a, b);
}

void TStrings::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) {
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

// ---------------------------------------------------------------------------------------------
// TStringList

std::string TStringList::Get(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const std::string &s) {
  if (sorted_) {
    throw EStringListError("Operation not allowed on sorted list");
  }
  CheckIndex(index, Count());
  items_[static_cast<size_t>(index)].text = s;
}

TObject *TStringList::GetObject(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject *object) {
  CheckIndex(index, Count());
  items_[static_cast<size_t>(index)].object = object;
}

void TStringList::InsertObject(int index, const std::string &s, TObject *object) {
  if (sorted_) {
    throw EStringListError("Operation not allowed on sorted list");
  }
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, Item{s, object});
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + index);
}

void TStringList::Clear() {
  items_.clear();
}

int TStringList::AddObject(const std::string &s, TObject *object) {
  if (!sorted_) {
    items_.push_back(Item{s, object});
    return Count() - 1;
  }
  int index = 0;
  if (Find(s, index)) {
    switch (duplicates_) {
    case TDuplicates::dupIgnore:
      return index;
    case TDuplicates::dupError:
      throw EStringListError("String list does not allow duplicates");
    case TDuplicates::dupAccept:
      break;
    }
  }
  items_.insert(items_.begin() + index, Item{s, object});
  return index;
}

int TStringList::IndexOf(const std::string &s) const {
  if (!sorted_) {
    return TStrings::IndexOf(s);
  }
  int index = 0;
  return Find(s, index) ? index : -1;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !sorted_) {
    sorted_ = true;
    Sort();
  }
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive != caseSensitive_) {
    caseSensitive_ = caseSensitive;
    if (sorted_) {
      Sort();
    }
  }
}

bool TStringList::Find(const std::string &s, int &index) const {
  // Lower bound: with duplicates accepted, the first of the equal lines is reported.
  int lo = 0;
  int hi = Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (CompareStrings(items_[static_cast<size_t>(mid)].text, s) < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  index = lo;
  return lo < Count() && CompareStrings(items_[static_cast<size_t>(lo)].text, s) == 0;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(), [this](const Item &a, const Item &b) {
    return CompareStrings(a.text, b.text) < 0;
  });
}

int TStringList::CompareStrings(const std::string &a, const std::string &b) const {
  return caseSensitive_ ? CompareBytes(a, b) : AnsiCompareText(a, b);
}
