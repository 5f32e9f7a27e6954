// Run-time type information: registered classes and their published properties.
//
// A class registers once, by name, with its base class and one table of published properties
// (and, for forms, the published methods that form data may bind to events):
//
//   RegisterClass<TSkinData, TComponent>("TSkinData", {
//       Published::Boolean("Active", &TSkinData::Active, &TSkinData::SetActive),
//       Published::Integer("DisableTag", &TSkinData::DisableTag),
//       Published::Set("SkinControls", SkinControlTypeInfo, &TSkinData::SkinControls),
//       Published::Object("Skin3rd", &TSkinData::Skin3rd),
//   });
//
// Properties are inherited by derived classes. The property helpers below and the form reader
// look everything up here, by name and without regard to letter case.
#pragma once

#include "framework/core/delegates.h"
#include "framework/core/objects.h"
#include "framework/core/sysutils.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

class TComponent;
struct TClassDefinition;

enum class TTypeKind { Integer, Enumeration, Set, Boolean, String, WideString, Object, Method };

// The identifiers of an enumeration in ordinal order; sets of it are bit masks with bit n for
// ordinal n.
struct TEnumInfo {
  std::string Name;
  std::vector<std::string> Identifiers;

  // -1 when the identifier is not one of this type's (letter case is ignored).
  int IdentToOrd(const std::string &ident) const;
  // Empty when the ordinal is out of range.
  std::string OrdToIdent(int64_t ordinal) const;
};

// The identifiers False and True.
const TEnumInfo &BooleanTypeInfo();

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::Integer;
  const TEnumInfo *Enum = nullptr;      // Enumeration, Set, Boolean
  int64_t MinValue = 0, MaxValue = 0;   // Integer: the values the storage can take
  std::type_index Event = typeid(void); // Method: the delegate type
  const char *ObjectClass = nullptr;    // Object: the declared class, for messages

  // Set for the kind only; a missing setter makes the property read-only.
  std::function<int64_t(TObject &)> GetOrd; // Integer, Enumeration, Set, Boolean
  std::function<void(TObject &, int64_t)> SetOrd;
  std::function<std::string(TObject &)> GetStr;
  std::function<void(TObject &, const std::string &)> SetStr;
  std::function<std::wstring(TObject &)> GetWide;
  std::function<void(TObject &, const std::wstring &)> SetWide;
  std::function<TObject *(TObject &)> GetObj;
  // False when the value is not of the property's class.
  std::function<bool(TObject &, TObject *)> SetObj;
  std::function<TMethod(TObject &)> GetMethod;
  std::function<void(TObject &, const TMethod &)> SetMethod;
};

// A published method that form data can bind to an event property of the same delegate type.
struct TMethodInfo {
  std::string Name;
  std::type_index Event = typeid(void);
  std::function<TMethod(TObject &)> Bind;
};

using TComponentFactory = std::function<TComponent *(TComponent *owner)>;

class TClassInfo {
public:
  const std::string &Name() const { return name_; }
  const TClassInfo *Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo *other) const;
  // True when object is of this class or derives from it.
  bool IsInstance(const TObject *object) const { return object != nullptr && isInstance_(object); }
  // Own properties first, then the inherited ones; null when there is none of that name.
  const TPropInfo *FindProperty(const std::string &name) const;
  const TMethodInfo *FindMethod(const std::string &name) const;
  // Every property, inherited ones first.
  std::vector<const TPropInfo *> Properties() const;
  bool CanCreate() const { return static_cast<bool>(factory_); }
  // A new component of this class owned by owner; raises when the class cannot be created.
  TComponent *Create(TComponent *owner) const;

private:
  friend const TClassInfo &RegisterClassInfo(TClassDefinition definition);
  std::string name_;
  const TClassInfo *parent_ = nullptr;
  std::vector<TPropInfo> properties_;
  std::vector<TMethodInfo> methods_;
  TComponentFactory factory_;
  bool (*isInstance_)(const TObject *) = nullptr;
};

// What a registration hands to the registry; RegisterClass fills it from the class's type.
struct TClassDefinition {
  std::string Name;
  std::type_index Type = typeid(void);
  std::type_index Base = typeid(void);
  std::vector<TPropInfo> Properties;
  std::vector<TMethodInfo> Methods;
  TComponentFactory Factory;
  bool (*IsInstance)(const TObject *) = nullptr;
};

class EClassError : public Exception {
public:
  using Exception::Exception;
};

const TClassInfo &RegisterClassInfo(TClassDefinition definition);

// Registers T under name with the published properties and methods of its own (Base's are
// inherited; Base must be registered first, or be void). Registering T again returns the
// first registration. Components that take an owner get a factory, so form data can create them.
template <class T, class Base = void>
const TClassInfo &RegisterClass(const std::string &name, std::vector<TPropInfo> properties,
                                std::vector<TMethodInfo> methods = {}) {
  static_assert(std::is_base_of_v<TObject, T>, "registered classes derive from TObject");
  static_assert(std::is_void_v<Base> || std::is_base_of_v<Base, T>, "Base is not a base of T");
  TClassDefinition d;
  d.Name = name;
  d.Type = typeid(T);
  if constexpr (!std::is_void_v<Base>)
    d.Base = typeid(Base);
  d.Properties = std::move(properties);
  d.Methods = std::move(methods);
  d.IsInstance = [](const TObject *o) { return dynamic_cast<const T *>(o) != nullptr; };
  if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent *> &&
                !std::is_abstract_v<T>)
    d.Factory = [](TComponent *owner) -> TComponent * { return new T(owner); };
  return RegisterClassInfo(std::move(d));
}

// By registered name (letter case ignored); null when unknown.
const TClassInfo *FindClass(const std::string &name);
// The most derived registered class of the object; null for null or an unregistered line.
const TClassInfo *ClassInfoOf(const TObject *object);
// The published property of that name of the object's class; null when there is none.
const TPropInfo *GetPropInfo(const TObject *object, const std::string &name);

// Named integer values (colours such as clBtnFace) that form data may write for any integer
// property.
void RegisterIntegerConstants(const std::vector<std::pair<std::string, int64_t>> &constants);
bool FindIntegerConstant(const std::string &name, int64_t &value);

// Narrow text in a code page to wide text and back. Code page 0 is the system ANSI code page
// (on Windows CP_ACP; elsewhere 936, the program's own). Undecodable bytes become '?'.
std::wstring AnsiToWide(const std::string &text, unsigned codePage = 0);
std::string WideToAnsi(const std::wstring &text, unsigned codePage = 0);

// Property helpers: read and set published properties by name. A null object, an unknown name
// or a property of another kind gives the default (-1, empty, null) and SetProperty does nothing.
int GetIntProperty(TObject *obj, const std::string &name);
// The identifier of an enumeration value as declared; boolean properties give False or True.
std::string GetEnumProperty(TObject *obj, const std::string &name);
// A wide-string property as is; a narrow one converted from the ANSI code page.
std::wstring GetStringProp(TObject *obj, const std::string &name);
// An object property whose value is of class cls (any class when cls is null).
TObject *GetObjProp(TObject *obj, const std::string &name, const TClassInfo *cls = nullptr);
template <class C> C *GetObjProp(TObject *obj, const std::string &name) {
  return dynamic_cast<C *>(GetObjProp(obj, name));
}
// Enumerations and booleans take an identifier, integers a decimal number, strings the text.
// Text that is not a value of the property leaves it unchanged.
void SetProperty(TObject *obj, const std::string &name, const std::string &value);

// Builders of property table entries. Each takes either a data member or a getter and setter
// pair of member functions.
namespace Published {
namespace detail {

template <class T> T &Self(TObject &o) {
  return dynamic_cast<T &>(o);
}

template <class T, class V> struct Access {
  std::function<V(T &)> get;
  std::function<void(T &, V)> set;
};
template <class T, class V> Access<T, V> Field(V T::*field) {
  return {[field](T &t) { return t.*field; }, [field](T &t, V v) { t.*field = std::move(v); }};
}
template <class T, class G, class S>
Access<T, std::decay_t<G>> Accessors(G (T::*get)() const, void (T::*set)(S)) {
  using V = std::decay_t<G>;
  return {[get](T &t) -> V { return (t.*get)(); },
          [set](T &t, V v) {
            if (set != nullptr)
              (t.*set)(std::move(v));
          }};
}

template <class V> int64_t ToOrd(V v) {
  if constexpr (std::is_enum_v<V>)
    return static_cast<int64_t>(static_cast<std::underlying_type_t<V>>(v));
  else
    return static_cast<int64_t>(v);
}
template <class V> V FromOrd(int64_t v) {
  if constexpr (std::is_enum_v<V>)
    return static_cast<V>(static_cast<std::underlying_type_t<V>>(v));
  else
    return static_cast<V>(v);
}

template <class T, class V>
TPropInfo Ordinal(std::string name, TTypeKind kind, const TEnumInfo *info, Access<T, V> a) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = kind;
  p.Enum = info;
  p.GetOrd = [get = a.get](TObject &o) { return ToOrd(get(Self<T>(o))); };
  p.SetOrd = [set = a.set](TObject &o, int64_t v) { set(Self<T>(o), FromOrd<V>(v)); };
  return p;
}

// An integer property accepts the signed and the unsigned values of its width (a colour
// 0x80000010 in an int), except that 64-bit storage takes the signed range only.
template <class T, class V> TPropInfo IntegerOf(std::string name, Access<T, V> a) {
  static_assert(std::is_integral_v<V> && !std::is_same_v<V, bool>, "integer property");
  TPropInfo p = Ordinal(std::move(name), TTypeKind::Integer, nullptr, std::move(a));
  using S = std::make_signed_t<V>;
  using U = std::make_unsigned_t<V>;
  p.MinValue = std::numeric_limits<S>::min();
  p.MaxValue = sizeof(V) < sizeof(int64_t) ? static_cast<int64_t>(std::numeric_limits<U>::max())
                                           : std::numeric_limits<int64_t>::max();
  return p;
}

template <class T, class V>
TPropInfo EnumOf(std::string name, const TEnumInfo &info, Access<T, V> a) {
  return Ordinal(std::move(name), TTypeKind::Enumeration, &info, std::move(a));
}

template <class T, class V>
TPropInfo SetOf(std::string name, const TEnumInfo &info, Access<T, V> a) {
  static_assert(std::is_integral_v<V> && std::is_unsigned_v<V>, "sets are unsigned bit masks");
  if (info.Identifiers.size() > sizeof(V) * 8)
    throw EClassError("set " + name + ": more values than bits");
  return Ordinal(std::move(name), TTypeKind::Set, &info, std::move(a));
}

template <class T> TPropInfo BooleanOf(std::string name, Access<T, bool> a) {
  return Ordinal(std::move(name), TTypeKind::Boolean, &BooleanTypeInfo(), std::move(a));
}

template <class T> TPropInfo StringOf(std::string name, Access<T, std::string> a) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::String;
  p.GetStr = [get = a.get](TObject &o) { return get(Self<T>(o)); };
  p.SetStr = [set = a.set](TObject &o, const std::string &v) { set(Self<T>(o), v); };
  return p;
}

template <class T> TPropInfo WideStringOf(std::string name, Access<T, std::wstring> a) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::WideString;
  p.GetWide = [get = a.get](TObject &o) { return get(Self<T>(o)); };
  p.SetWide = [set = a.set](TObject &o, const std::wstring &v) { set(Self<T>(o), v); };
  return p;
}

template <class T, class P> TPropInfo ObjectOf(std::string name, Access<T, P *> a, bool writable) {
  static_assert(std::is_base_of_v<TObject, P>, "object properties hold TObject descendants");
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::Object;
  p.GetObj = [get = a.get](TObject &o) -> TObject * { return get(Self<T>(o)); };
  if (writable)
    p.SetObj = [set = a.set](TObject &o, TObject *v) {
      P *typed = dynamic_cast<P *>(v);
      if (v != nullptr && typed == nullptr)
        return false;
      set(Self<T>(o), typed);
      return true;
    };
  return p;
}

template <class T, class D> TPropInfo EventOf(std::string name, Access<T, D> a) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::Method;
  p.Event = typeid(D);
  p.GetMethod = [get = a.get](TObject &o) { return get(Self<T>(o)).Method(); };
  p.SetMethod = [set = a.set](TObject &o, const TMethod &m) { set(Self<T>(o), D::FromMethod(m)); };
  return p;
}

} // namespace detail

template <class T, class V> TPropInfo Integer(std::string name, V T::*field) {
  return detail::IntegerOf(std::move(name), detail::Field(field));
}
template <class T, class G, class S>
TPropInfo Integer(std::string name, G (T::*get)() const, void (T::*set)(S)) {
  return detail::IntegerOf(std::move(name), detail::Accessors(get, set));
}

template <class T, class V>
TPropInfo Enumeration(std::string name, const TEnumInfo &info, V T::*field) {
  return detail::EnumOf(std::move(name), info, detail::Field(field));
}
template <class T, class G, class S>
TPropInfo Enumeration(std::string name, const TEnumInfo &info, G (T::*get)() const,
                      void (T::*set)(S)) {
  return detail::EnumOf(std::move(name), info, detail::Accessors(get, set));
}

template <class T, class V> TPropInfo Set(std::string name, const TEnumInfo &info, V T::*field) {
  return detail::SetOf(std::move(name), info, detail::Field(field));
}
template <class T, class G, class S>
TPropInfo Set(std::string name, const TEnumInfo &info, G (T::*get)() const, void (T::*set)(S)) {
  return detail::SetOf(std::move(name), info, detail::Accessors(get, set));
}

template <class T> TPropInfo Boolean(std::string name, bool T::*field) {
  return detail::BooleanOf(std::move(name), detail::Field(field));
}
template <class T, class S>
TPropInfo Boolean(std::string name, bool (T::*get)() const, void (T::*set)(S)) {
  return detail::BooleanOf(std::move(name), detail::Accessors(get, set));
}

template <class T> TPropInfo String(std::string name, std::string T::*field) {
  return detail::StringOf(std::move(name), detail::Field(field));
}
template <class T, class G, class S>
TPropInfo String(std::string name, G (T::*get)() const, void (T::*set)(S)) {
  return detail::StringOf(std::move(name), detail::Accessors(get, set));
}

template <class T> TPropInfo WideString(std::string name, std::wstring T::*field) {
  return detail::WideStringOf(std::move(name), detail::Field(field));
}
template <class T, class G, class S>
TPropInfo WideString(std::string name, G (T::*get)() const, void (T::*set)(S)) {
  return detail::WideStringOf(std::move(name), detail::Accessors(get, set));
}

// A pointer member: writable, so form data can point it at another component of the form (and
// a form's component fields are filled with the components read for it).
template <class T, class P> TPropInfo Object(std::string name, P *T::*field) {
  TPropInfo p = detail::ObjectOf(std::move(name), detail::Field(field), true);
  return p;
}
// A sub-object reached through a getter (a font, a string list): form data sets its properties.
template <class T, class P> TPropInfo Object(std::string name, P *(T::*get)() const) {
  void (T::*none)(P *) = nullptr;
  return detail::ObjectOf(std::move(name), detail::Accessors(get, none), false);
}
template <class T, class P, class S>
TPropInfo Object(std::string name, P *(T::*get)() const, void (T::*set)(S)) {
  return detail::ObjectOf(std::move(name), detail::Accessors(get, set), true);
}

template <class T, class Sig> TPropInfo Event(std::string name, TDelegate<Sig> T::*field) {
  return detail::EventOf(std::move(name), detail::Field(field));
}
template <class T, class G, class S>
TPropInfo Event(std::string name, G (T::*get)() const, void (T::*set)(S)) {
  return detail::EventOf(std::move(name), detail::Accessors(get, set));
}

// A handler of a form that form data can name as the value of an event property.
template <class T, class R, class... Args>
TMethodInfo Method(std::string name, R (T::*m)(Args...)) {
  TMethodInfo info;
  info.Name = std::move(name);
  info.Event = typeid(TDelegate<R(Args...)>);
  info.Bind = [m](TObject &o) { return TDelegate<R(Args...)>(&detail::Self<T>(o), m).Method(); };
  return info;
}

} // namespace Published
