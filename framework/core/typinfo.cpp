#include "framework/core/typinfo.h"
#include "framework/core/classes.h"
#include "framework/core/stringlist.h"

#include <charconv>
#include <memory>
#include <unordered_map>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace {

struct Registry {
  std::vector<std::unique_ptr<TClassInfo>> classes;
  std::unordered_map<std::type_index, const TClassInfo *> byType;
  // Most derived registered class per dynamic type, null when none; cleared on registration.
  std::unordered_map<std::type_index, const TClassInfo *> resolved;
  std::vector<std::pair<std::string, int64_t>> constants;
};

Registry &TheRegistry() {
  static Registry registry;
  static bool coreRegistered = false;
  if (!coreRegistered) {
    coreRegistered = true; // before the call: registering reaches back in here
    RegisterComponentClass();
  }
  return registry;
}

int Depth(const TClassInfo *c) {
  int depth = 0;
  for (; c != nullptr; c = c->Parent())
    ++depth;
  return depth;
}

} // namespace

int TEnumInfo::IdentToOrd(const std::string &ident) const {
  for (size_t i = 0; i < Identifiers.size(); ++i)
    if (AnsiSameText(Identifiers[i], ident))
      return static_cast<int>(i);
  return -1;
}

std::string TEnumInfo::OrdToIdent(int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= static_cast<int64_t>(Identifiers.size()))
    return {};
  return Identifiers[static_cast<size_t>(ordinal)];
}

const TEnumInfo &BooleanTypeInfo() {
  static const TEnumInfo info{"Boolean", {"False", "True"}};
  return info;
}

bool TClassInfo::InheritsFrom(const TClassInfo *other) const {
  for (const TClassInfo *c = this; c != nullptr; c = c->parent_)
    if (c == other)
      return true;
  return false;
}

const TPropInfo *TClassInfo::FindProperty(const std::string &name) const {
  for (const TClassInfo *c = this; c != nullptr; c = c->parent_)
    for (const TPropInfo &p : c->properties_)
      if (AnsiSameText(p.Name, name))
        return &p;
  return nullptr;
}

const TMethodInfo *TClassInfo::FindMethod(const std::string &name) const {
  for (const TClassInfo *c = this; c != nullptr; c = c->parent_)
    for (const TMethodInfo &m : c->methods_)
      if (AnsiSameText(m.Name, name))
        return &m;
  return nullptr;
}

std::vector<const TPropInfo *> TClassInfo::Properties() const {
  std::vector<const TPropInfo *> all =
      parent_ != nullptr ? parent_->Properties() : std::vector<const TPropInfo *>{};
  for (const TPropInfo &p : properties_)
    all.push_back(&p);
  return all;
}

TComponent *TClassInfo::Create(TComponent *owner) const {
  if (!factory_)
    throw EClassError("class " + name_ + " cannot be created from form data");
  return factory_(owner);
}

const TClassInfo &RegisterClassInfo(TClassDefinition definition) {
  Registry &r = TheRegistry();
  if (auto it = r.byType.find(definition.Type); it != r.byType.end())
    return *it->second;
  if (FindClass(definition.Name) != nullptr)
    throw EClassError("class name " + definition.Name + " is registered for another class");
  const TClassInfo *parent = nullptr;
  if (definition.Base != std::type_index(typeid(void))) {
    auto it = r.byType.find(definition.Base);
    if (it == r.byType.end())
      throw EClassError("class " + definition.Name + ": its base class is not registered");
    parent = it->second;
  }
  auto info = std::make_unique<TClassInfo>();
  info->name_ = std::move(definition.Name);
  info->parent_ = parent;
  info->properties_ = std::move(definition.Properties);
  info->methods_ = std::move(definition.Methods);
  info->factory_ = std::move(definition.Factory);
  info->isInstance_ = definition.IsInstance;
  const TClassInfo *result = info.get();
  r.classes.push_back(std::move(info));
  r.byType.emplace(definition.Type, result);
  r.resolved.clear();
  return *result;
}

const TClassInfo *FindClass(const std::string &name) {
  for (const auto &c : TheRegistry().classes)
    if (AnsiSameText(c->Name(), name))
      return c.get();
  return nullptr;
}

const TClassInfo *ClassInfoOf(const TObject *object) {
  if (object == nullptr)
    return nullptr;
  Registry &r = TheRegistry();
  std::type_index type = typeid(*object);
  if (auto it = r.resolved.find(type); it != r.resolved.end())
    return it->second;
  // An unregistered class (a form of the application, say) answers as its nearest
  // registered ancestor: the deepest registered class the object is an instance of.
  const TClassInfo *best = nullptr;
  if (auto it = r.byType.find(type); it != r.byType.end()) {
    best = it->second;
  } else {
    for (const auto &c : r.classes)
      if (c->IsInstance(object) && Depth(c.get()) > Depth(best))
        best = c.get();
  }
  r.resolved.emplace(type, best);
  return best;
}

const TPropInfo *GetPropInfo(const TObject *object, const std::string &name) {
  const TClassInfo *info = ClassInfoOf(object);
  return info != nullptr ? info->FindProperty(name) : nullptr;
}

void RegisterIntegerConstants(const std::vector<std::pair<std::string, int64_t>> &constants) {
  Registry &r = TheRegistry();
  for (const auto &c : constants) {
    int64_t existing = 0;
    if (FindIntegerConstant(c.first, existing)) {
      if (existing != c.second)
        throw EClassError("integer constant " + c.first + " is registered with another value");
      continue;
    }
    r.constants.push_back(c);
  }
}

bool FindIntegerConstant(const std::string &name, int64_t &value) {
  for (const auto &c : TheRegistry().constants)
    if (AnsiSameText(c.first, name)) {
      value = c.second;
      return true;
    }
  return false;
}

#ifdef _WIN32

std::wstring AnsiToWide(const std::string &text, unsigned codePage) {
  if (text.empty())
    return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string WideToAnsi(const std::wstring &text, unsigned codePage) {
  if (text.empty())
    return {};
  int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

#else

namespace {

std::string IconvName(unsigned codePage) {
  if (codePage == 0)
    codePage = 936;
  if (codePage == 65001)
    return "UTF-8";
  return "CP" + std::to_string(codePage);
}

// Converts with iconv, replacing what the source cannot express by '?' (one unit skipped).
template <class Out, class In>
Out Convert(const In &text, const std::string &to, const std::string &from) {
  Out out;
  if (text.empty())
    return out;
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw Exception("no conversion from " + from + " to " + to);
  char *in = const_cast<char *>(reinterpret_cast<const char *>(text.data()));
  size_t inLeft = text.size() * sizeof(typename In::value_type);
  std::vector<typename Out::value_type> buf(text.size() * 4 + 4);
  while (inLeft > 0) {
    char *o = reinterpret_cast<char *>(buf.data());
    size_t oLeft = buf.size() * sizeof(typename Out::value_type);
    size_t rc = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buf.data(),
               static_cast<size_t>(reinterpret_cast<typename Out::value_type *>(o) - buf.data()));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out.push_back('?');
      size_t skip = std::min(inLeft, sizeof(typename In::value_type));
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

} // namespace

std::wstring AnsiToWide(const std::string &text, unsigned codePage) {
  return Convert<std::wstring>(text, "WCHAR_T", IconvName(codePage));
}

std::string WideToAnsi(const std::wstring &text, unsigned codePage) {
  return Convert<std::string>(text, IconvName(codePage), "WCHAR_T");
}

#endif

namespace {

// The property, when obj is set and has one of that name and one of the given kinds.
const TPropInfo *Find(TObject *obj, const std::string &name,
                      std::initializer_list<TTypeKind> kinds) {
  const TPropInfo *p = GetPropInfo(obj, name);
  if (p == nullptr)
    return nullptr;
  for (TTypeKind k : kinds)
    if (p->Kind == k)
      return p;
  return nullptr;
}

bool ParseDecimal(const std::string &text, int64_t &value) {
  const char *first = text.data();
  const char *last = first + text.size();
  if (first != last && *first == '+')
    ++first;
  auto [ptr, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && ptr == last && first != last;
}

} // namespace

int GetIntProperty(TObject *obj, const std::string &name) {
  const TPropInfo *p = Find(obj, name, {TTypeKind::Integer});
  // Truncated to int as the painters expect: a colour 0x80000010 reads as a negative number.
  return p != nullptr ? static_cast<int>(p->GetOrd(*obj)) : -1;
}

std::string GetEnumProperty(TObject *obj, const std::string &name) {
  const TPropInfo *p = Find(obj, name, {TTypeKind::Enumeration, TTypeKind::Boolean});
  return p != nullptr ? p->Enum->OrdToIdent(p->GetOrd(*obj)) : std::string();
}

std::wstring GetStringProp(TObject *obj, const std::string &name) {
  const TPropInfo *p = Find(obj, name, {TTypeKind::String, TTypeKind::WideString});
  if (p == nullptr)
    return {};
  return p->Kind == TTypeKind::WideString ? p->GetWide(*obj) : AnsiToWide(p->GetStr(*obj));
}

TObject *GetObjProp(TObject *obj, const std::string &name, const TClassInfo *cls) {
  const TPropInfo *p = Find(obj, name, {TTypeKind::Object});
  if (p == nullptr)
    return nullptr;
  TObject *value = p->GetObj(*obj);
  if (cls != nullptr && !cls->IsInstance(value))
    return nullptr;
  return value;
}

void SetProperty(TObject *obj, const std::string &name, const std::string &value) {
  const TPropInfo *p = Find(obj, name,
                            {TTypeKind::Integer, TTypeKind::Enumeration, TTypeKind::Boolean,
                             TTypeKind::String, TTypeKind::WideString});
  if (p == nullptr)
    return;
  switch (p->Kind) {
  case TTypeKind::Integer: {
    int64_t v = 0;
    if (p->SetOrd && ParseDecimal(value, v) && v >= p->MinValue && v <= p->MaxValue)
      p->SetOrd(*obj, v);
    break;
  }
  case TTypeKind::Enumeration:
  case TTypeKind::Boolean: {
    int ordinal = p->Enum->IdentToOrd(value);
    if (p->SetOrd && ordinal >= 0)
      p->SetOrd(*obj, ordinal);
    break;
  }
  case TTypeKind::String:
    if (p->SetStr)
      p->SetStr(*obj, value);
    break;
  case TTypeKind::WideString:
    if (p->SetWide)
      p->SetWide(*obj, AnsiToWide(value));
    break;
  default:
    break;
  }
}
