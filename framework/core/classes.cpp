#include "framework/core/classes.h"
#include "framework/core/stringlist.h"
#include "framework/core/typinfo.h"

#include <algorithm>

namespace {

void Erase(std::vector<TComponent *> &list, const TComponent *item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end())
    list.erase(it);
}

} // namespace

bool IsValidIdent(const std::string &s) {
  if (s.empty())
    return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(s[0]))
    return false;
  return std::all_of(s.begin(), s.end(),
                     [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent *owner) {
  if (owner != nullptr)
    owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  RemoveNotifyLinks();
  DestroyComponents();
  if (owner_ != nullptr)
    owner_->RemoveComponent(this);
}

void TComponent::RemoveNotifyLinks() {
  // Each partner is unlinked before it is told, so it cannot reach back into this list.
  while (!freeNotifies_.empty()) {
    TComponent *other = freeNotifies_.back();
    freeNotifies_.pop_back();
    Erase(other->freeNotifies_, this);
    other->Notification(this, TOperation::opRemove);
  }
}

TComponent *TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EComponentError("component index out of range (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

TComponent *TComponent::FindComponent(const std::string &name) const {
  if (name.empty())
    return nullptr;
  for (TComponent *c : components_)
    if (AnsiSameText(c->name_, name))
      return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent *component) {
  if (component == nullptr || component->owner_ == this)
    return;
  ValidateRename(component->name_);
  if (component->owner_ != nullptr)
    component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent *component) {
  if (component == nullptr || component->owner_ != this)
    return;
  Notification(component, TOperation::opRemove);
  Erase(components_, component);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  // Unlinked before it is freed, so the child does not call back into a half-destroyed owner.
  while (!components_.empty()) {
    TComponent *last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
}

void TComponent::ValidateRename(const std::string &name) const {
  if (name.empty())
    return;
  if (TComponent *existing = FindComponent(name))
    throw EComponentError("A component named " + existing->name_ + " already exists");
}

void TComponent::SetName(const std::string &name) {
  if (name == name_)
    return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("\"" + name + "\" is not a valid component name");
  if (owner_ != nullptr && !AnsiSameText(name, name_))
    owner_->ValidateRename(name);
  name_ = name;
}

void TComponent::Loaded() {
  state_ &= ~csLoading;
}

void TComponent::Notification(TComponent *component, TOperation operation) {
  if (operation == TOperation::opRemove && component != nullptr)
    RemoveFreeNotification(component);
  // A copy: a handler may free or insert components while the notice travels.
  std::vector<TComponent *> owned = components_;
  for (TComponent *c : owned)
    if (std::find(components_.begin(), components_.end(), c) != components_.end())
      c->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent *component) {
  if (component == nullptr || component == this)
    return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *component) {
  if (component == nullptr)
    return;
  Erase(freeNotifies_, component);
  Erase(component->freeNotifies_, this);
}

void TComponent::SetParentComponent(TComponent * /*parent*/) {}

bool TComponent::ReadBinaryProperty(const std::string & /*name*/, TStream & /*stream*/) {
  return false;
}

void RegisterComponentClass() {
  RegisterClass<TComponent>("TComponent",
                            {
                                Published::String("Name", &TComponent::Name, &TComponent::SetName),
                                Published::Integer("Tag", &TComponent::Tag, &TComponent::SetTag),
                            });
}
