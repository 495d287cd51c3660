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
    DeclareEvent<void()>("Open");
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
    const QStringList known = PropertyNames();
    return ApplyProperties(
        properties, known, mProperties,
        [this](const QString& name, const QVariant& value) { ApplyProperty(name, value); });
}

QStringList Control::PropertyNames() const {
    return {"Left",           "Top",           "Width",         "Height",    "LockLeft",  "LockTop",
            "LockRight",      "LockBottom",    "TabIndex",      "Enabled",   "Visible",   "HelpTag",
            "AutoDeactivate", "TabPanelIndex", "InitialParent", "DataField", "DataSource"};
}

void Control::ApplyProperty(const QString& name, const QVariant& value) {
    if (name == QLatin1String("Left")) {
        SetLeft(value.toInt());
    } else if (name == QLatin1String("Top")) {
        SetTop(value.toInt());
    } else if (name == QLatin1String("Width")) {
        SetWidth(value.toInt());
    } else if (name == QLatin1String("Height")) {
        SetHeight(value.toInt());
    } else if (name == QLatin1String("LockLeft")) {
        SetLocks(value.toBool(), mLockTop, mLockRight, mLockBottom);
    } else if (name == QLatin1String("LockTop")) {
        SetLocks(mLockLeft, value.toBool(), mLockRight, mLockBottom);
    } else if (name == QLatin1String("LockRight")) {
        SetLocks(mLockLeft, mLockTop, value.toBool(), mLockBottom);
    } else if (name == QLatin1String("LockBottom")) {
        SetLocks(mLockLeft, mLockTop, mLockRight, value.toBool());
    } else if (name == QLatin1String("TabIndex")) {
        SetTabIndex(value.toInt());
    } else if (name == QLatin1String("Enabled")) {
        SetEnabled(value.toBool());
    } else if (name == QLatin1String("Visible")) {
        SetVisible(value.toBool());
    } else if (name == QLatin1String("HelpTag")) {
        SetHelpTag(value.toString());
    }
    // The others (data binding, panels, deactivation) are kept for Property only.
}

QStringList Control::FontPropertyNames() {
    return {"TextFont", "TextSize", "Bold", "Italic", "Underline"};
}

bool Control::ApplyFontProperty(const QString& name, const QVariant& value) {
    if (name == QLatin1String("TextFont")) {
        mFontName = value.toString();
    } else if (name == QLatin1String("TextSize")) {
        mFontSize = value.toInt();
    } else if (name == QLatin1String("Bold")) {
        mBold = value.toBool();
    } else if (name == QLatin1String("Italic")) {
        mItalic = value.toBool();
    } else if (name == QLatin1String("Underline")) {
        mUnderline = value.toBool();
    } else {
        return false;
    }
    ApplyFont();
    return true;
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

void Control::RaiseOpen() {
    if (const auto* handler = EventHandler<void()>("Open")) {
        (*handler)();
    }
}

}  // namespace fw
