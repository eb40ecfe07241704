#include "controls/dbnavigator.h"

#include <QResizeEvent>

#include "controls/align.h"
#include "controls/navdatalink.h"
#include "data/dataset/dataset.h"
#include "data/dataset/datasource.h"
#include "platform/services/eventhandler.h"
#include "platform/services/messageboxservice.h"
#include "platform/system/resourcebitmap.h"

namespace contado {

namespace {

struct TButtonSetting {
    const char* Bitmap;
    const char* Hint;
};

const TButtonSetting kButtonSettings[kNavigateBtnCount] = {
    {"DBN_FIRST", "First record"},  {"DBN_PRIOR", "Prior record"},   {"DBN_NEXT", "Next record"},
    {"DBN_LAST", "Last record"},    {"DBN_INSERT", "Insert record"}, {"DBN_DELETE", "Delete record"},
    {"DBN_EDIT", "Edit record"},    {"DBN_POST", "Post edit"},       {"DBN_CANCEL", "Cancel edit"},
    {"DBN_REFRESH", "Refresh data"}};

// The size of a new bar, before anyone places it.
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 25;

const TNavButtonSet kAllButtons = {nbFirst,  nbPrior, nbNext, nbLast,   nbInsert,
                                   nbDelete, nbEdit,  nbPost, nbCancel, nbRefresh};

}  // namespace

TDBNavigator::TDBNavigator(QWidget* parent)
    : QWidget(parent), visibleButtons_(kAllButtons), dataLink_(std::make_unique<TNavDataLink>(*this)) {
    setFocusPolicy(Qt::NoFocus);
    CreateButtons();
    ApplyMinimumSize();
    resize(kDefaultWidth, kDefaultHeight);
    ActiveChanged();
}

// The link goes first, so no notice reaches a bar being torn down.
TDBNavigator::~TDBNavigator() {
    dataLink_.reset();
}

void TDBNavigator::CreateButtons() {
    for (int index = 0; index < kNavigateBtnCount; ++index) {
        auto* button = new TNavButton(static_cast<TNavigateBtn>(index), this);
        button->SetGlyph(LoadResourceBitmap(QString::fromLatin1(kButtonSettings[index].Bitmap)));
        button->SetHint(QString::fromLatin1(kButtonSettings[index].Hint));
        button->SetRepeats(index == nbPrior || index == nbNext);
        connect(button, &QAbstractButton::clicked, this, [this, button] { ButtonClicked(button); });
        connect(button, &TNavButton::Repeated, this, [this, button] { ButtonClicked(button); });
        buttons_[index] = button;
    }
}

TDataSource* TDBNavigator::DataSource() const {
    return dataLink_->DataSource();
}

void TDBNavigator::SetDataSource(TDataSource* source) {
    dataLink_->SetDataSource(source);
    ActiveChanged();
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
    visibleButtons_ = buttons;
    for (TNavButton* button : buttons_) {
        button->setVisible(buttons.Contains(button->Index()));
    }
    ApplyMinimumSize();
    LayoutButtons();
}

// An error of a click ends the repeating and the press, so neither a tick nor the release repeats
// it; the error is shown as any handler's.
void TDBNavigator::ButtonClicked(TNavButton* button) {
    RunHandler([this, button] {
        try {
            BtnClick(button->Index());
        } catch (...) {
            button->LetGo();
            throw;
        }
    });
}

void TDBNavigator::BtnClick(TNavigateBtn index) {
    TDataSet* dataSet = dataLink_->DataSet();
    if (dataSet == nullptr || !dataLink_->Active()) {
        return;
    }
    RunAction(*dataSet, index);
}

void TDBNavigator::RunAction(TDataSet& dataSet, TNavigateBtn index) {
    switch (index) {
        case nbFirst:
            dataSet.First();
            break;
        case nbPrior:
            dataSet.Prior();
            break;
        case nbNext:
            dataSet.Next();
            break;
        case nbLast:
            dataSet.Last();
            break;
        case nbInsert:
            dataSet.Insert();
            break;
        case nbDelete:
            if (!confirmDelete_ || DeleteConfirmed()) {
                dataSet.Delete();
            }
            break;
        case nbEdit:
            dataSet.Edit();
            break;
        case nbPost:
            dataSet.Post();
            break;
        case nbCancel:
            dataSet.Cancel();
            break;
        // The cached rows are read again around the current one.
        case nbRefresh:
            dataSet.CheckBrowseMode();
            dataSet.SetRecNo(dataSet.RecNo());
            break;
    }
}

bool TDBNavigator::DeleteConfirmed() const {
    return MessageDlg("Delete record?", mtConfirmation, {mbOK, mbCancel}) == mbOK;
}

bool TDBNavigator::Active() const {
    return isEnabled() && dataLink_->Active();
}

bool TDBNavigator::CanModify() const {
    return Active() && dataLink_->DataSet()->CanModify();
}

bool TDBNavigator::DataSetEditing() const {
    const TDataSetState state = dataLink_->DataSet()->State();
    return state == dsEdit || state == dsInsert;
}

void TDBNavigator::ActiveChanged() {
    if (!Active()) {
        for (TNavButton* button : buttons_) {
            button->setEnabled(false);
        }
        return;
    }
    DataChanged();
    EditingChanged();
}

void TDBNavigator::DataChanged() {
    const bool active = Active();
    const TDataSet* dataSet = dataLink_->DataSet();
    const bool atStart = active && dataSet->Bof();
    const bool atEnd = active && dataSet->Eof();
    buttons_[nbFirst]->setEnabled(active && !atStart);
    buttons_[nbPrior]->setEnabled(active && !atStart);
    buttons_[nbNext]->setEnabled(active && !atEnd);
    buttons_[nbLast]->setEnabled(active && !atEnd);
    buttons_[nbDelete]->setEnabled(CanModify() && !(atStart && atEnd));
}

void TDBNavigator::EditingChanged() {
    const bool canModify = CanModify();
    const bool editing = canModify && DataSetEditing();
    buttons_[nbInsert]->setEnabled(canModify);
    buttons_[nbEdit]->setEnabled(canModify && !editing);
    buttons_[nbPost]->setEnabled(editing);
    buttons_[nbCancel]->setEnabled(editing);
    buttons_[nbRefresh]->setEnabled(canModify);
}

void TDBNavigator::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        ActiveChanged();
    }
}

int TDBNavigator::VisibleCount() const {
    int count = 0;
    for (TNavButton* button : buttons_) {
        count += visibleButtons_.Contains(button->Index()) ? 1 : 0;
    }
    return std::max(count, 1);
}

// Every visible button at least 20 x 18: the bar is never sized smaller.
void TDBNavigator::ApplyMinimumSize() {
    setMinimumSize(VisibleCount() * kMinButtonWidth, kMinButtonHeight);
}

// A bar that no edge holds keeps a width that the buttons share evenly.
void TDBNavigator::resizeEvent(QResizeEvent* event) {
    const int count = VisibleCount();
    if (AlignOf(this) == alNone && width() % count != 0) {
        resize(width() - width() % count, height());
        return;
    }
    LayoutButtons();
    QWidget::resizeEvent(event);
}

// The remainder of the width goes one pixel at a time to buttons spread over the bar.
void TDBNavigator::LayoutButtons() {
    const int count = VisibleCount();
    const int buttonWidth = width() / count;
    const int remainder = width() - count * buttonWidth;
    int x = 0;
    int turn = count / 2;
    for (TNavButton* button : buttons_) {
        if (!visibleButtons_.Contains(button->Index())) {
            button->setGeometry(width() + 1, 0, buttonWidth, height());
            continue;
        }
        int extra = 0;
        if (remainder != 0) {
            turn -= remainder;
            if (turn < 0) {
                turn += count;
                extra = 1;
            }
        }
        button->setGeometry(x, 0, buttonWidth + extra, height());
        x += buttonWidth + extra;
    }
}

}  // namespace contado
