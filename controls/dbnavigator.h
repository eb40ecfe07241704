#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "controls/navbutton.h"
#include "controls/navigatebtn.h"

namespace contado {

class TDataSet;
class TDataSource;
class TNavDataLink;

// A strip of buttons that moves through and changes the rows of a dataset, reached through a data
// source. It owns ten buttons, one per TNavigateBtn, and shows those of VisibleButtons side by side,
// sharing its width; each button is enabled only while its action makes sense for the dataset.
// Neither the bar nor its buttons take the focus.
class TDBNavigator : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kMinButtonWidth = 20;
    static constexpr int kMinButtonHeight = 18;

    explicit TDBNavigator(QWidget* parent = nullptr);
    ~TDBNavigator() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    TNavButtonSet VisibleButtons() const { return visibleButtons_; }
    void SetVisibleButtons(TNavButtonSet buttons);
    bool ConfirmDelete() const { return confirmDelete_; }
    void SetConfirmDelete(bool confirm) { confirmDelete_ = confirm; }
    TNavButton* Buttons(TNavigateBtn index) const { return buttons_[index]; }

    // Runs a button's action on the dataset; nothing without an open dataset. Deleting asks first
    // when ConfirmDelete is set.
    void BtnClick(TNavigateBtn index);

    // The notices of the data link.
    void ActiveChanged();
    void DataChanged();
    void EditingChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void CreateButtons();
    void ButtonClicked(TNavButton* button);
    void RunAction(TDataSet& dataSet, TNavigateBtn index);
    bool DeleteConfirmed() const;
    int VisibleCount() const;
    void ApplyMinimumSize();
    void LayoutButtons();
    bool Active() const;
    bool CanModify() const;
    bool DataSetEditing() const;

    std::array<TNavButton*, kNavigateBtnCount> buttons_{};
    TNavButtonSet visibleButtons_;
    bool confirmDelete_ = true;
    std::unique_ptr<TNavDataLink> dataLink_;
};

}  // namespace contado
