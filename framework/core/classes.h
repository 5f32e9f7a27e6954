// Components: objects with an owner, a name and a tag, created from form data.
//
// A component frees the components it owns, the last one first. Components that hold pointers
// to components they do not own ask for a free notification and clear those pointers in
// Notification when the other one goes.
#pragma once

#include "framework/core/objects.h"
#include "framework/core/sysutils.h"

#include <cstdint>
#include <string>
#include <vector>

class TStream;

enum class TOperation { opInsert, opRemove };

using TComponentState = unsigned;
constexpr TComponentState csLoading = 0x01;    // form data is being read into it
constexpr TComponentState csDestroying = 0x02; // its destructor has begun
constexpr TComponentState csDesigning = 0x04;  // never set at run time; kept for the tests of it

class EComponentError : public Exception {
public:
  using Exception::Exception;
};

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent *owner);
  ~TComponent() override;
  TComponent(const TComponent &) = delete;
  TComponent &operator=(const TComponent &) = delete;

  TComponent *Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // Raises EComponentError for an index out of range.
  TComponent *Components(int index) const;
  // The owned component of that name (letter case ignored), or null.
  TComponent *FindComponent(const std::string &name) const;
  void InsertComponent(TComponent *component);
  void RemoveComponent(TComponent *component);
  // Frees every owned component, the last one first.
  void DestroyComponents();

  const std::string &Name() const { return name_; }
  // An identifier or empty; unique among the owner's components (letter case ignored).
  // Raises EComponentError otherwise.
  virtual void SetName(const std::string &name);
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  TComponentState ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }

  // Called once on every component of a form after the whole form data has been read.
  virtual void Loaded();
  // Called when a component this one owns or asked to be told about is inserted or removed.
  // The base passes the notice on to every owned component.
  virtual void Notification(TComponent *component, TOperation operation);
  // component will be told (Notification opRemove) when this one is freed, and the reverse.
  void FreeNotification(TComponent *component);
  void RemoveFreeNotification(TComponent *component);

  // The form reader's hooks. A nested object in form data is handed its enclosing component
  // (controls make it their parent); a binary property ({ hex }) arrives as a stream positioned
  // at its start. Return false for a binary property the class does not define.
  virtual void SetParentComponent(TComponent *parent);
  virtual TComponent *GetParentComponent() const { return nullptr; }
  virtual bool ReadBinaryProperty(const std::string &name, TStream &stream);

protected:
  void SetComponentState(TComponentState state) { state_ = state; }

private:
  friend class TFormReader;
  void ValidateRename(const std::string &name) const;
  void RemoveNotifyLinks();

  TComponent *owner_ = nullptr;
  std::vector<TComponent *> components_;
  std::vector<TComponent *> freeNotifies_;
  std::string name_;
  intptr_t tag_ = 0;
  TComponentState state_ = 0;
};

// Letters, digits and underscores, not starting with a digit.
bool IsValidIdent(const std::string &s);

// Registers TComponent (Name, Tag) with the class registry; the registry does it on first use.
void RegisterComponentClass();
