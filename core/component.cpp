#include "core/component.h"

#include <algorithm>

#include "core/textutil.h"

namespace contado {

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr) {
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        for (TComponent* sibling : components_) {
            if (sibling != last) {
                sibling->ComponentDestroying(last);
            }
        }
        delete last;  // removes itself from components_
    }
    if (owner_ != nullptr) {
        owner_->RemoveComponent(this);
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* component : components_) {
        if (SameText(component->Name(), name)) {
            return component;
        }
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->owner_ != nullptr) {
        component->owner_->RemoveComponent(component);
    }
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component) {
    auto found = std::find(components_.begin(), components_.end(), component);
    if (found != components_.end()) {
        components_.erase(found);
        component->owner_ = nullptr;
    }
}

void TComponent::ComponentDestroying(TComponent*) {}

}  // namespace contado
