#pragma once

#include <string>
#include <vector>

namespace contado {

// Base of every named component. A component may own others; owned components
// are kept in creation order and destroyed with their owner.
class TComponent {
  public:
    explicit TComponent(TComponent* owner = nullptr);
    virtual ~TComponent();

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }

    // Owned component with that name, compared without regard to case; null when none.
    TComponent* FindComponent(const std::string& name) const;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

  protected:
    // Told when a component this one may refer to is being destroyed.
    virtual void ComponentDestroying(TComponent* component);

  private:
    std::string name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
};

}  // namespace contado
