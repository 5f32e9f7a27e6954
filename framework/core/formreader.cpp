#include "framework/core/formreader.h"
#include "framework/core/stringlist.h"
#include "framework/core/typinfo.h"

#include <memory>
#include <vector>

namespace {

// Form data is GBK text; quoted text of wide-string properties is decoded with this code page
// whatever the system's ANSI code page is.
constexpr unsigned FormCodePage = 936;
// Deeper nesting than any real form has; it keeps hostile input from exhausting the stack.
constexpr int MaxNesting = 64;

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
int HexValue(char c) {
  if (IsDigit(c))
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

std::string Quoted(const std::string &s) {
  return "'" + s + "'";
}

// One piece of a string value: bytes from quotes, or one #nnn character code.
struct StringPiece {
  bool isCode;
  std::string bytes;
  uint32_t code;
  int line; // for the message about a code a narrow string cannot hold
};

} // namespace

EFormDataError::EFormDataError(int line, std::string property, const std::string &problem)
    : EReadError("Form data, line " + std::to_string(line) +
                 (property.empty() ? std::string() : ", " + property) + ": " + problem),
      line_(line), property_(std::move(property)) {}

class TFormReader::Reader {
public:
  // With a null root, the top object is created by its class, owned by owner.
  Reader(const std::string &text, TComponent *root, TComponent *owner)
      : text_(text), root_(root), owner_(owner) {}

  TComponent *Run() {
    try {
      SkipSpace();
      ReadObject(nullptr, 0);
      SkipSpace();
      if (pos_ < text_.size())
        Fail("", "text after the end of the top object");
      ResolveReferences();
    } catch (...) {
      Undo();
      throw;
    }
    CallLoaded();
    return root_;
  }

private:
  struct Reference {
    TObject *target;
    const TPropInfo *prop;
    std::string name;
    int line;
    std::string path;
  };

  [[noreturn]] void Fail(const std::string &property, const std::string &problem) const {
    throw EFormDataError(line_, property, problem);
  }

  // ----- lexical level -----

  void SkipSpace() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n')
          ++pos_;
      } else {
        break;
      }
    }
  }

  char Peek() {
    SkipSpace();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }

  bool Accept(char c) {
    if (Peek() != c)
      return false;
    ++pos_;
    return true;
  }

  void Expect(char c, const std::string &property) {
    if (!Accept(c))
      Fail(property, std::string("'") + c + "' expected" + Found());
  }

  std::string Found() {
    SkipSpace();
    if (pos_ >= text_.size())
      return ", found the end of the text";
    size_t end = pos_;
    while (end < text_.size() && end - pos_ < 16 && text_[end] != '\n' && text_[end] != '\r')
      ++end;
    return ", found " + Quoted(text_.substr(pos_, end - pos_));
  }

  bool AtIdent() { return IsIdentStart(Peek()); }

  std::string Ident(const std::string &property, const std::string &what) {
    if (!AtIdent())
      Fail(property, what + " expected" + Found());
    size_t start = pos_;
    while (pos_ < text_.size() && (IsIdentStart(text_[pos_]) || IsDigit(text_[pos_])))
      ++pos_;
    return text_.substr(start, pos_ - start);
  }

  bool AtKeyword(const char *word) {
    if (!AtIdent())
      return false;
    size_t end = pos_;
    while (end < text_.size() && (IsIdentStart(text_[end]) || IsDigit(text_[end])))
      ++end;
    return AnsiSameText(text_.substr(pos_, end - pos_), word);
  }

  // A decimal or $hexadecimal integer with an optional minus sign.
  int64_t Number(const std::string &property) {
    bool negative = Accept('-');
    SkipSpace();
    bool hex = pos_ < text_.size() && text_[pos_] == '$';
    if (hex)
      ++pos_;
    uint64_t value = 0;
    int digits = 0;
    const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
    while (pos_ < text_.size()) {
      int d = hex ? HexValue(text_[pos_]) : (IsDigit(text_[pos_]) ? text_[pos_] - '0' : -1);
      if (d < 0)
        break;
      uint64_t base = hex ? 16 : 10;
      if (value > (limit - static_cast<uint64_t>(d)) / base)
        Fail(property, "number out of range");
      value = value * base + static_cast<uint64_t>(d);
      ++digits;
      ++pos_;
    }
    if (digits == 0 || (pos_ < text_.size() && (IsIdentStart(text_[pos_]) || IsDigit(text_[pos_]))))
      Fail(property, "malformed number");
    if (negative)
      return value == (uint64_t(1) << 63) ? INT64_MIN : -static_cast<int64_t>(value);
    return static_cast<int64_t>(value);
  }

  bool AtString() {
    char c = Peek();
    return c == '\'' || c == '#';
  }

  // Quoted segments ('' inside stands for one quote) and #nnn or #$hh character codes, written
  // next to each other or joined by + across lines.
  std::vector<StringPiece> StringValue(const std::string &property) {
    std::vector<StringPiece> pieces;
    do {
      if (!AtString())
        Fail(property, "string expected" + Found());
      while (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) {
        if (text_[pos_] == '#') {
          ++pos_;
          int64_t code = Number(property);
          if (code < 0 || code > 0xFFFF)
            Fail(property, "character code out of range");
          pieces.push_back({true, {}, static_cast<uint32_t>(code), line_});
          continue;
        }
        ++pos_;
        std::string bytes;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
            Fail(property, "unterminated string");
          char c = text_[pos_++];
          if (c == '\'') {
            if (pos_ < text_.size() && text_[pos_] == '\'') {
              ++pos_;
              bytes += '\'';
              continue;
            }
            break;
          }
          bytes += c;
        }
        pieces.push_back({false, std::move(bytes), 0, line_});
      }
    } while (Accept('+'));
    return pieces;
  }

  std::string NarrowText(const std::vector<StringPiece> &pieces, const std::string &property) {
    std::string out;
    for (const StringPiece &p : pieces) {
      if (!p.isCode) {
        out += p.bytes;
      } else if (p.code > 0xFF) {
        line_ = p.line;
        Fail(property, "character code above 255 in a narrow string");
      } else {
        out += static_cast<char>(p.code);
      }
    }
    return out;
  }

  std::wstring WideText(const std::vector<StringPiece> &pieces) {
    std::wstring out;
    for (const StringPiece &p : pieces) {
      if (p.isCode)
        out += static_cast<wchar_t>(p.code);
      else
        out += AnsiToWide(p.bytes, FormCodePage);
    }
    return out;
  }

  // ----- objects -----

  void ReadObject(TComponent *enclosing, int depth) {
    if (depth >= MaxNesting)
      Fail("", "objects nested too deeply");
    if (!AtKeyword("object"))
      Fail("", "'object' expected" + Found());
    Ident("", "object");
    std::string name = Ident("", "component name");
    Expect(':', name);
    std::string className = Ident(name, "class name");
    const TClassInfo *cls = FindClass(className);
    if (cls == nullptr)
      Fail(name, "unknown class " + className);

    TComponent *component = enclosing == nullptr ? TakeRoot(cls, name) : MakeChild(cls, name);
    if (enclosing != nullptr)
      component->SetParentComponent(enclosing);

    while (!AtKeyword("end")) {
      if (pos_ >= text_.size() || Peek() == '\0')
        Fail(name, "'end' expected, found the end of the text");
      if (AtKeyword("object"))
        ReadObject(component, depth + 1);
      else
        ReadProperty(component);
    }
    Ident(name, "'end'");
  }

  TComponent *TakeRoot(const TClassInfo *cls, const std::string &name) {
    if (root_ == nullptr) {
      if (!cls->CanCreate())
        Fail(name, "class " + cls->Name() + " cannot be created from form data");
      root_ = cls->Create(owner_);
      rootCreated_ = true;
    } else if (!cls->IsInstance(root_)) {
      Fail(name, "the form is not a " + cls->Name());
    }
    root_->state_ |= csLoading;
    loaded_.push_back(root_);
    try {
      root_->SetName(name);
    } catch (const EComponentError &e) {
      Fail(name, e.Message());
    }
    return root_;
  }

  TComponent *MakeChild(const TClassInfo *cls, const std::string &name) {
    if (!cls->CanCreate())
      Fail(name, "class " + cls->Name() + " cannot be created from form data");
    if (!IsValidIdent(name))
      Fail(name, "invalid component name");
    if (root_->FindComponent(name) != nullptr || AnsiSameText(root_->Name(), name))
      Fail(name, "a component named " + name + " already exists");
    TComponent *component = cls->Create(root_);
    created_.push_back(component);
    component->state_ |= csLoading;
    loaded_.push_back(component);
    component->SetName(name);
    // The form's field of that name, if it publishes one, points at the new component.
    if (const TPropInfo *field = GetPropInfo(root_, name);
        field != nullptr && field->Kind == TTypeKind::Object && field->SetObj) {
      if (!field->SetObj(*root_, component))
        Fail(name, "the form's field " + name + " is not of class " + cls->Name());
      boundFields_.push_back(field);
    }
    return component;
  }

  // ----- properties -----

  void ReadProperty(TComponent *component) {
    std::string path = Ident(component->Name(), "property name");
    std::vector<std::string> names{path};
    while (Accept('.')) {
      names.push_back(Ident(component->Name() + "." + path, "property name"));
      path += "." + names.back();
    }
    const std::string where = component->Name() + "." + path;
    Expect('=', where);
    Peek();
    const int valueLine = line_; // where a refused value is reported

    TObject *target = component;
    for (size_t i = 0; i + 1 < names.size(); ++i) {
      const TPropInfo *p = GetPropInfo(target, names[i]);
      if (p == nullptr || p->Kind != TTypeKind::Object)
        Fail(where, names[i] + " is not an object property");
      target = p->GetObj(*target);
      if (target == nullptr)
        Fail(where, names[i] + " holds no object");
    }
    const std::string &last = names.back();
    const TPropInfo *prop = GetPropInfo(target, last);

    if (Peek() == '{') {
      if (names.size() != 1 || prop != nullptr)
        Fail(where, "not a binary property");
      TMemoryStream stream;
      ReadHex(stream, where);
      stream.SetPosition(0);
      bool known = false;
      Guard(where, valueLine, [&] { known = component->ReadBinaryProperty(last, stream); });
      if (!known)
        Fail(where, "unknown property");
      return;
    }
    if (Peek() == '(') {
      // A string list: "Items.Strings = (...)" as the familiar layout writes it, or directly
      // "Items = (...)".
      TObject *listObject = nullptr;
      if (prop == nullptr && AnsiSameText(last, "Strings"))
        listObject = target;
      else if (prop != nullptr && prop->Kind == TTypeKind::Object)
        listObject = prop->GetObj(*target);
      auto *list = dynamic_cast<TStrings *>(listObject);
      if (list == nullptr)
        Fail(where, prop == nullptr ? "unknown property" : "not a string list");
      ReadStringList(*list, where, valueLine);
      return;
    }
    if (prop == nullptr)
      Fail(where, "unknown property");
    Guard(where, valueLine, [&] { AssignValue(*target, *prop, where); });
  }

  // A setter or hook that refuses a value fails like malformed text: with line and property.
  template <class F> void Guard(const std::string &where, int valueLine, F &&action) {
    try {
      action();
    } catch (const EFormDataError &) {
      throw;
    } catch (const Exception &e) {
      line_ = valueLine;
      Fail(where, e.Message());
    }
  }

  void AssignValue(TObject &target, const TPropInfo &prop, const std::string &where) {
    switch (prop.Kind) {
    case TTypeKind::Integer: {
      int64_t value = 0;
      if (AtIdent()) {
        std::string ident = Ident(where, "value");
        if (!FindIntegerConstant(ident, value))
          Fail(where, "unknown integer constant " + ident);
      } else {
        value = Number(where);
      }
      if (value < prop.MinValue || value > prop.MaxValue)
        Fail(where, "value " + std::to_string(value) + " out of range");
      RequireSetter(static_cast<bool>(prop.SetOrd), where);
      prop.SetOrd(target, value);
      break;
    }
    case TTypeKind::Enumeration:
    case TTypeKind::Boolean: {
      std::string ident = Ident(where, "identifier");
      int ordinal = prop.Enum->IdentToOrd(ident);
      if (ordinal < 0)
        Fail(where, ident + " is not a value of " + prop.Enum->Name);
      RequireSetter(static_cast<bool>(prop.SetOrd), where);
      prop.SetOrd(target, ordinal);
      break;
    }
    case TTypeKind::Set: {
      uint64_t mask = 0;
      Expect('[', where);
      if (!Accept(']')) {
        do {
          std::string ident = Ident(where, "set element");
          int ordinal = prop.Enum->IdentToOrd(ident);
          if (ordinal < 0)
            Fail(where, ident + " is not a value of " + prop.Enum->Name);
          mask |= uint64_t(1) << ordinal;
        } while (Accept(','));
        Expect(']', where);
      }
      RequireSetter(static_cast<bool>(prop.SetOrd), where);
      prop.SetOrd(target, static_cast<int64_t>(mask));
      break;
    }
    case TTypeKind::String: {
      std::string text = NarrowText(StringValue(where), where);
      RequireSetter(static_cast<bool>(prop.SetStr), where);
      prop.SetStr(target, text);
      break;
    }
    case TTypeKind::WideString: {
      std::wstring text = WideText(StringValue(where));
      RequireSetter(static_cast<bool>(prop.SetWide), where);
      prop.SetWide(target, text);
      break;
    }
    case TTypeKind::Object: {
      std::string ident = Ident(where, "component name");
      RequireSetter(static_cast<bool>(prop.SetObj), where);
      // Resolved after the whole form is read: the component may come further down.
      references_.push_back({&target, &prop, ident, line_, where});
      break;
    }
    case TTypeKind::Method: {
      std::string ident = Ident(where, "method name");
      RequireSetter(static_cast<bool>(prop.SetMethod), where);
      if (AnsiSameText(ident, "nil")) {
        prop.SetMethod(target, TMethod{});
        break;
      }
      const TMethodInfo *method = ClassInfoOf(root_)->FindMethod(ident);
      if (method == nullptr)
        Fail(where, "the form has no method " + ident);
      if (method->Event != prop.Event)
        Fail(where, "method " + ident + " does not fit this event");
      prop.SetMethod(target, method->Bind(*root_));
      break;
    }
    }
  }

  void RequireSetter(bool present, const std::string &where) const {
    if (!present)
      Fail(where, "read-only property");
  }

  void ReadStringList(TStrings &list, const std::string &where, int valueLine) {
    Expect('(', where);
    std::vector<std::string> lines;
    while (!Accept(')')) {
      if (Peek() == '\0')
        Fail(where, "')' expected, found the end of the text");
      lines.push_back(NarrowText(StringValue(where), where));
    }
    Guard(where, valueLine, [&] {
      list.BeginUpdate();
      try {
        list.Clear();
        for (const std::string &s : lines)
          list.Add(s);
      } catch (...) {
        list.EndUpdate();
        throw;
      }
      list.EndUpdate();
    });
  }

  void ReadHex(TMemoryStream &stream, const std::string &where) {
    Expect('{', where);
    std::vector<uint8_t> bytes;
    int high = -1;
    for (;;) {
      SkipSpace();
      if (pos_ >= text_.size())
        Fail(where, "'}' expected, found the end of the text");
      char c = text_[pos_++];
      if (c == '}')
        break;
      int v = HexValue(c);
      if (v < 0)
        Fail(where, std::string("invalid character '") + c + "' in binary data");
      if (high < 0) {
        high = v;
      } else {
        bytes.push_back(static_cast<uint8_t>(high << 4 | v));
        high = -1;
      }
    }
    if (high >= 0)
      Fail(where, "odd number of hexadecimal digits in binary data");
    if (!bytes.empty())
      stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  }

  // ----- after the text -----

  void ResolveReferences() {
    for (const Reference &r : references_) {
      TComponent *value = nullptr;
      if (!AnsiSameText(r.name, "nil")) {
        value = AnsiSameText(root_->Name(), r.name) ? root_ : root_->FindComponent(r.name);
        if (value == nullptr) {
          line_ = r.line;
          Fail(r.path, "no component named " + r.name);
        }
      }
      if (!r.prop->SetObj(*r.target, value)) {
        line_ = r.line;
        Fail(r.path, r.name + " is not of the property's class");
      }
    }
  }

  void CallLoaded() {
    // Root first, then every nested component in the order the text lists them.
    struct ClearLoading {
      std::vector<TComponent *> &list;
      ~ClearLoading() {
        for (TComponent *c : list)
          if (TObject::IsLive(c))
            c->state_ &= ~csLoading;
      }
    } clear{loaded_};
    for (TComponent *c : loaded_)
      if (TObject::IsLive(c))
        c->Loaded();
  }

  void Undo() {
    if (root_ == nullptr)
      return;
    if (rootCreated_) {
      delete root_;
      return;
    }
    for (const TPropInfo *field : boundFields_)
      field->SetObj(*root_, nullptr);
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
      if (TObject::IsLive(*it))
        delete *it;
    root_->state_ &= ~csLoading;
  }

  const std::string &text_;
  size_t pos_ = 0;
  int line_ = 1;
  TComponent *root_;
  TComponent *owner_;
  bool rootCreated_ = false;
  std::vector<TComponent *> created_;
  std::vector<TComponent *> loaded_;
  std::vector<const TPropInfo *> boundFields_;
  std::vector<Reference> references_;
};

void TFormReader::ReadComponent(const std::string &text, TComponent *root) {
  if (root == nullptr)
    throw EReadError("no component to read the form data into");
  Reader(text, root, nullptr).Run();
}

TComponent *TFormReader::CreateComponent(const std::string &text, TComponent *owner) {
  return Reader(text, nullptr, owner).Run();
}
