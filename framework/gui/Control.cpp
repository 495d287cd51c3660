#include "framework/gui/Control.h"

#include "framework/gui/Window.h"

#include <QFontDatabase>

namespace fw {

namespace {

// The far edge of a span after the content area grew by delta, as the locks ask.
void FollowLocks(int& position, int& size, bool lockNear, bool lockFar, int delta) {
    if (lockNear && lockFar) {
        size += delta;
    } else if (lockFar) {
        position += delta;
    }
}

}  // namespace

Control::Control(QWidget* widget) : mWidget(widget) {
    DeclareEvent("Open", mOpen);
}

Control::~Control() {
    delete mWidget.data();
}

void Control::SetBounds(const QRect& bounds) {
    mBounds = bounds;
    mAnchorBounds = bounds;
    mAnchorContent = mWindow != nullptr ? mWindow->ContentSize() : QSize();
    PlaceWidget();
}

void Control::SetLocks(bool left, bool top, bool right, bool bottom) {
    mLockLeft = left;
    mLockTop = top;
    mLockRight = right;
    mLockBottom = bottom;
    // The distances kept are those of now.
    SetBounds(mBounds);
}

void Control::SetTabIndex(int index) {
    mTabIndex = index;
    if (mWindow != nullptr) {
        mWindow->UpdateTabOrder();
    }
}

bool Control::Enabled() const {
    return mWidget != nullptr && mWidget->isEnabled();
}

void Control::SetEnabled(bool enabled) {
    if (mWidget != nullptr) {
        mWidget->setEnabled(enabled);
    }
}

void Control::SetVisible(bool visible) {
    mVisible = visible;
    if (mWidget != nullptr) {
        mWidget->setVisible(visible);
    }
}

void Control::SetHelpTag(const QString& text) {
    mHelpTag = text;
    if (mWidget != nullptr) {
        mWidget->setToolTip(text);
    }
}

QFont Control::TextFont() const {
    QFont font = (mFontName.isEmpty() || mFontName == QLatin1String("System"))
                     ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                     : QFont(mFontName);
    if (mFontSize > 0) {
        font.setPixelSize(mFontSize);
    }
    font.setBold(mBold);
    font.setItalic(mItalic);
    font.setUnderline(mUnderline);
    return font;
}

void Control::ApplyFont() {
    if (mWidget != nullptr) {
        mWidget->setFont(TextFont());
    }
}

QStringList Control::_SetProperties(const PropertyMap& properties) {
    return LayoutProperties().Apply(*this, properties, mProperties);
}

const PropertyTable<Control>& Control::BaseProperties() {
    static const PropertyTable<Control> table{
        {"Left", [](Control& c, const QVariant& v) { c.SetLeft(v.toInt()); }},
        {"Top", [](Control& c, const QVariant& v) { c.SetTop(v.toInt()); }},
        {"Width", [](Control& c, const QVariant& v) { c.SetWidth(v.toInt()); }},
        {"Height", [](Control& c, const QVariant& v) { c.SetHeight(v.toInt()); }},
        {"LockLeft",
         [](Control& c, const QVariant& v) {
             c.SetLocks(v.toBool(), c.mLockTop, c.mLockRight, c.mLockBottom);
         }},
        {"LockTop",
         [](Control& c, const QVariant& v) {
             c.SetLocks(c.mLockLeft, v.toBool(), c.mLockRight, c.mLockBottom);
         }},
        {"LockRight",
         [](Control& c, const QVariant& v) {
             c.SetLocks(c.mLockLeft, c.mLockTop, v.toBool(), c.mLockBottom);
         }},
        {"LockBottom",
         [](Control& c, const QVariant& v) {
             c.SetLocks(c.mLockLeft, c.mLockTop, c.mLockRight, v.toBool());
         }},
        {"TabIndex", [](Control& c, const QVariant& v) { c.SetTabIndex(v.toInt()); }},
        {"Enabled", [](Control& c, const QVariant& v) { c.SetEnabled(v.toBool()); }},
        {"Visible", [](Control& c, const QVariant& v) { c.SetVisible(v.toBool()); }},
        {"HelpTag", [](Control& c, const QVariant& v) { c.SetHelpTag(v.toString()); }},
        // Deactivation, panels and data binding: stored only.
        {"AutoDeactivate", nullptr},
        {"TabPanelIndex", nullptr},
        {"InitialParent", nullptr},
        {"DataField", nullptr},
        {"DataSource", nullptr},
    };
    return table;
}

const PropertyTable<Control>& Control::TextProperties() {
    static const PropertyTable<Control> table = BaseProperties().Extended<Control>({
        {"TextFont",
         [](Control& c, const QVariant& v) {
             c.mFontName = v.toString();
             c.ApplyFont();
         }},
        {"TextSize",
         [](Control& c, const QVariant& v) {
             c.mFontSize = v.toInt();
             c.ApplyFont();
         }},
        {"Bold",
         [](Control& c, const QVariant& v) {
             c.mBold = v.toBool();
             c.ApplyFont();
         }},
        {"Italic",
         [](Control& c, const QVariant& v) {
             c.mItalic = v.toBool();
             c.ApplyFont();
         }},
        {"Underline",
         [](Control& c, const QVariant& v) {
             c.mUnderline = v.toBool();
             c.ApplyFont();
         }},
    });
    return table;
}

void Control::AttachTo(Window& /*window*/, QWidget& contentArea) {
    if (mWidget != nullptr) {
        mWidget->setParent(&contentArea);
        mWidget->setVisible(mVisible);
    }
}

void Control::Attach(Window& window, const QString& name, QWidget& contentArea, QSize contentSize) {
    mWindow = &window;
    mName = name;
    AttachTo(window, contentArea);
    mAnchorBounds = mBounds;
    mAnchorContent = contentSize;
    PlaceWidget();
}

void Control::ContentAreaResized(QSize contentSize) {
    if (!mAnchorContent.isValid()) {
        mAnchorContent = contentSize;
    }
    int left = mAnchorBounds.x();
    int width = mAnchorBounds.width();
    int top = mAnchorBounds.y();
    int height = mAnchorBounds.height();
    FollowLocks(left, width, mLockLeft, mLockRight, contentSize.width() - mAnchorContent.width());
    FollowLocks(top, height, mLockTop, mLockBottom, contentSize.height() - mAnchorContent.height());
    mBounds = QRect(left, top, width, height);
    PlaceWidget();
}

void Control::PlaceWidget() {
    if (mWindow != nullptr && mWidget != nullptr && InContentArea()) {
        mWidget->setGeometry(mBounds);
    }
}

void Control::DeclareEvent(const QString& name, EventSlot& event) {
    mEvents.insert_or_assign(name, &event);
}

bool Control::HasEventHandler(const QString& event) const {
    const auto declared = mEvents.find(event);
    return declared != mEvents.end() && declared->second->Bound();
}

void Control::RaiseOpen() {
    if (mOpen.Handler()) {
        mOpen.Handler()();
    }
}

}  // namespace fw
