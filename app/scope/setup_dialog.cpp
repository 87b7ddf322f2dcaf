#include "scope/setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QTabBar>
#include <QVBoxLayout>
#include <vector>

#include "model/scope_setup_values.h"
#include "model/scope_texts.h"
#include "model/scope_tool_texts.h"
#include "scope/scope_commands.h"
#include "scope/up_down_buttons.h"

namespace oscilane {

namespace {

QString text(const char* s) { return QString::fromLatin1(s); }

// The value a control last showed; -1 (never a real setting here) makes
// the next refresh set it.
class Remembered {
  public:
    bool differs(int value) {
        if (value == value_) return false;
        value_ = value;
        return true;
    }
    void forget() { value_ = -1; }

  private:
    int value_ = -1;
};

template <std::size_t N>
QComboBox* list(const char* name, const std::array<const char*, N>& entries, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const char* e : entries) box->addItem(text(e));
    return box;
}

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Selects the radio button of `value` in a pair; neither for any other value.
void selectPair(QRadioButton* first, QRadioButton* second, int value) {
    first->setAutoExclusive(false);
    second->setAutoExclusive(false);
    first->setChecked(value == 0);
    second->setChecked(value == 1);
    first->setAutoExclusive(true);
    second->setAutoExclusive(true);
}

void mirror(Remembered& remembered, QCheckBox* box, int value) {
    if (remembered.differs(value)) box->setChecked(value == 1);
}
void mirror(Remembered& remembered, QComboBox* box, int value) {
    if (remembered.differs(value)) box->setCurrentIndex(value < box->count() ? value : -1);
}

}  // namespace

// Channel page, shared by CH1 and CH2.
class ChannelSetupPage final : public SetupPage {
  public:
    ChannelSetupPage(CommandSink& commands, QWidget* parent) : SetupPage(parent) {
        setObjectName(QStringLiteral("channelPage"));
        auto* volts = new QGroupBox(text(tooltext::kVoltDiv), this);
        coarse_ = named(new QRadioButton(text(tooltext::kCoarse), volts), "coarse");
        fine_ = named(new QRadioButton(text(tooltext::kFine), volts), "fine");
        auto* voltsLayout = new QVBoxLayout(volts);
        voltsLayout->addWidget(coarse_);
        voltsLayout->addWidget(fine_);
        auto* setup = new QGroupBox(text(tooltext::kSetupGroup), this);
        bw20_ = named(new QCheckBox(text(tooltext::kBwLimit20M), setup), "bw20");
        bw100_ = named(new QCheckBox(text(tooltext::kBwLimit100M), setup), "bw100");
        invert_ = named(new QCheckBox(text(tooltext::kInvert), setup), "invert");
        auto* setupLayout = new QVBoxLayout(setup);
        for (QWidget* w : {static_cast<QWidget*>(bw20_), static_cast<QWidget*>(bw100_),
                           static_cast<QWidget*>(invert_)})
            setupLayout->addWidget(w);
        auto* level = new QGroupBox(text(tooltext::kLevelGroup), this);
        auto* reset = named(new QPushButton(text(tooltext::kReset), level), "reset");
        (new QVBoxLayout(level))->addWidget(reset);
        auto* layout = new QGridLayout(this);
        layout->addWidget(volts, 0, 0);
        layout->addWidget(setup, 0, 1);
        layout->addWidget(level, 1, 0);

        // Each control posts for the channel the page shows now.
        const auto post = [this, &commands](QueuedCommand (*command)(ScopeChannel, bool), bool on) {
            commands.Post(command(scopeChannel(channel_), on));
        };
        connect(coarse_, &QRadioButton::clicked, this, [this, post] {
            if (coarse_->isChecked()) post(scope_command::coarseFine, false);
        });
        connect(fine_, &QRadioButton::clicked, this, [this, post] {
            if (fine_->isChecked()) post(scope_command::coarseFine, true);
        });
        connect(bw20_, &QCheckBox::clicked, this,
                [post](bool on) { post(scope_command::bwLimit, on); });
        connect(invert_, &QCheckBox::clicked, this,
                [post](bool on) { post(scope_command::invert, on); });
        connect(bw100_, &QCheckBox::clicked, this,
                [post](bool on) { post(scope_command::bw100M, on); });
        connect(reset, &QPushButton::clicked, this,
                [this, &commands] { commands.Post(scope_command::reset(scopeChannel(channel_))); });
    }

    void setChannel(int channel) {
        channel_ = channel;
        forget();
    }
    int channel() const { return channel_; }

    void refresh(const SettingBlock& b) override {
        if (const int step = VoltsStep(b, channel_); step_.differs(step))
            selectPair(coarse_, fine_, step);
        mirror(bw20R_, bw20_, BandwidthLimit20M(b, channel_));
        mirror(bw100R_, bw100_, Bandwidth100M(b, channel_));
        mirror(invertR_, invert_, Invert(b, channel_));
    }
    void forget() override {
        for (Remembered* r : {&step_, &bw20R_, &bw100R_, &invertR_}) r->forget();
    }

  private:
    int channel_ = kCh1;
    QRadioButton* coarse_;
    QRadioButton* fine_;
    QCheckBox* bw20_;
    QCheckBox* bw100_;
    QCheckBox* invert_;
    Remembered step_, bw20R_, bw100R_, invertR_;
};

namespace {

class MathSetupPage final : public SetupPage {
  public:
    MathSetupPage(CommandSink& commands, QWidget* parent) : SetupPage(parent) {
        setObjectName(QStringLiteral("mathPage"));
        on_ = named(new QCheckBox(text(tooltext::kOnOff), this), "mathOn");
        operate_ = named(new QGroupBox(text(tooltext::kOperateGroup), this), "operateGroup");
        sourceA_ = list("sourceA", tooltext::kSources, operate_);
        sourceB_ = list("sourceB", tooltext::kSources, operate_);
        operator_ = list("operator", tooltext::kOperators, operate_);
        auto* operateLayout = new QGridLayout(operate_);
        addRow(operateLayout, 0, tooltext::kSourceA, sourceA_);
        addRow(operateLayout, 1, tooltext::kSourceB, sourceB_);
        addRow(operateLayout, 2, tooltext::kOperator, operator_);
        fft_ = named(new QGroupBox(text(tooltext::kFftGroup), this), "fftGroup");
        fftSource_ = list("fftSource", tooltext::kSources, fft_);
        fftWindow_ = list("fftWindow", tooltext::kFftWindows, fft_);
        fftScale_ = list("fftScale", tooltext::kFftScales, fft_);
        auto* fftLayout = new QGridLayout(fft_);
        addRow(fftLayout, 0, tooltext::kSource, fftSource_);
        addRow(fftLayout, 1, tooltext::kWindow, fftWindow_);
        addRow(fftLayout, 2, tooltext::kScale, fftScale_);
        auto* setup = new QGroupBox(text(tooltext::kSetupGroup), this);
        coarse_ = named(new QRadioButton(text(tooltext::kCoarse), setup), "mathCoarse");
        fine_ = named(new QRadioButton(text(tooltext::kFine), setup), "mathFine");
        voltDiv_ = named(new QLabel(setup), "mathVoltDiv");
        auto* spin = named(
            new UpDownButtons(QStringLiteral("mathVolts"), UpDownButtons::Range::Rising, setup),
            "mathVolts");
        probe_ = list("mathProbe", scopetext::kProbes, setup);
        invert_ = named(new QCheckBox(text(tooltext::kInvert), setup), "mathInvert");
        auto* setupLayout = new QGridLayout(setup);
        setupLayout->addWidget(coarse_, 0, 0);
        setupLayout->addWidget(fine_, 0, 1);
        setupLayout->addWidget(new QLabel(text(tooltext::kVoltDiv), setup), 1, 0);
        setupLayout->addWidget(voltDiv_, 1, 1);
        setupLayout->addWidget(spin, 1, 2);
        addRow(setupLayout, 2, tooltext::kProbe, probe_);
        setupLayout->addWidget(invert_, 3, 0);
        auto* layout = new QGridLayout(this);
        layout->addWidget(on_, 0, 0);
        layout->addWidget(operate_, 1, 0);
        layout->addWidget(fft_, 1, 1);
        layout->addWidget(setup, 2, 0, 1, 2);

        using scope_command::mathSource;
        constexpr ScopeChannel kThis = ScopeChannel::Math;
        const auto check = [this, &commands](QCheckBox* box,
                                             QueuedCommand (*command)(ScopeChannel, bool)) {
            connect(box, &QCheckBox::clicked, this,
                    [&commands, command](bool on) { commands.Post(command(kThis, on)); });
        };
        check(on_, scope_command::shown);
        check(invert_, scope_command::invert);
        const auto choose = [this, &commands](QComboBox* box, auto command) {
            connect(box, &QComboBox::activated, this,
                    [&commands, command](int index) { commands.Post(command(index)); });
        };
        choose(probe_, [](int index) { return scope_command::probe(kThis, index); });
        choose(sourceA_, [](int index) { return mathSource(0, index); });
        choose(sourceB_, [](int index) { return mathSource(1, index); });
        choose(operator_, scope_command::mathOperator);
        choose(fftSource_, scope_command::fftSource);
        choose(fftWindow_, scope_command::fftWindow);
        choose(fftScale_, scope_command::fftScale);
        connect(coarse_, &QRadioButton::clicked, this, [this, &commands] {
            if (coarse_->isChecked()) commands.Post(scope_command::coarseFine(kThis, false));
        });
        connect(fine_, &QRadioButton::clicked, this, [this, &commands] {
            if (fine_->isChecked()) commands.Post(scope_command::coarseFine(kThis, true));
        });
        connect(spin, &UpDownButtons::stepped, this, [&commands](int delta) {
            commands.Post(scope_command::voltsStep(kThis, delta > 0));
        });
    }

    void refresh(const SettingBlock& b) override {
        const ScopeSettings s(b);
        mirror(onR_, on_, s.shown(kMath) ? 1 : 0);
        if (const int step = VoltsStep(b, kMath); stepR_.differs(step))
            selectPair(coarse_, fine_, step);
        mirror(invertR_, invert_, Invert(b, kMath));
        mirror(probeR_, probe_, s.probe(kMath));
        mirror(sourceAR_, sourceA_, MathSource(b, 0));
        mirror(sourceBR_, sourceB_, MathSource(b, 1));
        const int op = s.mathOperator();
        mirror(operatorR_, operator_, op);
        mirror(fftSourceR_, fftSource_, s.fftSource());
        mirror(fftWindowR_, fftWindow_, FftWindow(b));
        mirror(fftScaleR_, fftScale_, s.fftScale());
        // The operator list stays usable under every operator, so FFT can
        // always be left again; only the two sources depend on it.
        const bool arithmetic = op >= 0 && op < kFftOperator;
        sourceA_->setEnabled(arithmetic);
        sourceB_->setEnabled(arithmetic);
        fft_->setEnabled(op == kFftOperator);
        const QString volts = QString::fromStdString(MathVoltDivText(s));
        if (voltDiv_->text() != volts) voltDiv_->setText(volts);
    }
    void forget() override {
        for (Remembered* r : {&onR_, &stepR_, &invertR_, &probeR_, &sourceAR_, &sourceBR_,
                              &operatorR_, &fftSourceR_, &fftWindowR_, &fftScaleR_})
            r->forget();
    }

  private:
    static void addRow(QGridLayout* layout, int row, const char* label, QWidget* control) {
        layout->addWidget(new QLabel(text(label)), row, 0);
        layout->addWidget(control, row, 1);
    }

    QCheckBox* on_;
    QGroupBox* operate_;
    QComboBox* sourceA_;
    QComboBox* sourceB_;
    QComboBox* operator_;
    QGroupBox* fft_;
    QComboBox* fftSource_;
    QComboBox* fftWindow_;
    QComboBox* fftScale_;
    QRadioButton* coarse_;
    QRadioButton* fine_;
    QLabel* voltDiv_;
    QComboBox* probe_;
    QCheckBox* invert_;
    Remembered onR_, stepR_, invertR_, probeR_, sourceAR_, sourceBR_, operatorR_, fftSourceR_,
        fftWindowR_, fftScaleR_;
};

class RefSetupPage final : public SetupPage {
  public:
    RefSetupPage(CommandSink& commands, QWidget* parent) : SetupPage(parent) {
        setObjectName(QStringLiteral("refPage"));
        on_ = named(new QCheckBox(text(tooltext::kOnOff), this), "refOn");
        voltDiv_ = named(new QLabel(this), "refVoltDiv");
        auto* spin =
            named(new UpDownButtons(QStringLiteral("refVolts"), UpDownButtons::Range::Rising, this),
                  "refVolts");
        auto* layout = new QGridLayout(this);
        layout->addWidget(on_, 0, 0);
        layout->addWidget(new QLabel(text(tooltext::kVoltDiv), this), 1, 0);
        layout->addWidget(voltDiv_, 1, 1);
        layout->addWidget(spin, 1, 2);
        connect(on_, &QCheckBox::clicked, this, [&commands](bool on) {
            commands.Post(scope_command::shown(ScopeChannel::Ref, on));
        });
        connect(spin, &UpDownButtons::stepped, this, [&commands](int delta) {
            commands.Post(scope_command::voltsStep(ScopeChannel::Ref, delta > 0));
        });
    }

    void refresh(const SettingBlock& b) override {
        const ScopeSettings s(b);
        mirror(onR_, on_, s.shown(kRef) ? 1 : 0);
        const QString volts = QString::fromStdString(RefVoltDivText(s));
        if (voltDiv_->text() != volts) voltDiv_->setText(volts);
    }
    void forget() override { onR_.forget(); }

  private:
    QCheckBox* on_;
    QLabel* voltDiv_;
    Remembered onR_;
};

class TriggerSetupPage final : public SetupPage {
  public:
    static constexpr int kRecords = 3;  // main, ALT 1, ALT 2

    TriggerSetupPage(CommandSink& commands, QWidget* parent) : SetupPage(parent) {
        setObjectName(QStringLiteral("triggerPage"));
        auto* layout = new QVBoxLayout(this);
        for (int r = 0; r < kRecords; ++r) {
            auto* group =
                new QGroupBox(text(tooltext::kTriggerGroups[static_cast<std::size_t>(r)]), this);
            auto* hf = new QCheckBox(text(tooltext::kHfRejection), group);
            hf->setObjectName(QStringLiteral("hf%1").arg(r));
            auto* half = new QPushButton(text(tooltext::kSetTo50), group);
            half->setObjectName(QStringLiteral("half%1").arg(r));
            auto* groupLayout = new QHBoxLayout(group);
            groupLayout->addWidget(hf);
            groupLayout->addWidget(half);
            layout->addWidget(group);
            connect(hf, &QCheckBox::clicked, this, [&commands, r](bool on) {
                commands.Post(scope_command::hfReject(static_cast<TriggerRecord>(r), on));
            });
            connect(half, &QPushButton::clicked, this, [&commands, r] {
                commands.Post(scope_command::level50(static_cast<TriggerRecord>(r)));
            });
            hf_[static_cast<std::size_t>(r)] = hf;
            half_[static_cast<std::size_t>(r)] = half;
        }
    }

    void refresh(const SettingBlock& b) override {
        const bool alt = ScopeSettings(b).altTrigger();
        for (int r = 0; r < kRecords; ++r) {
            const auto k = static_cast<std::size_t>(r);
            // The main trigger's controls work outside ALT mode, the ALT ones in it.
            const bool active = (r == 0) != alt;
            hf_[k]->setEnabled(active);
            half_[k]->setEnabled(active);
            if (active) mirror(hfR_[k], hf_[k], HfReject(b, r));
        }
    }
    void forget() override {
        for (Remembered& r : hfR_) r.forget();
    }

  private:
    std::array<QCheckBox*, kRecords> hf_{};
    std::array<QPushButton*, kRecords> half_{};
    std::array<Remembered, kRecords> hfR_{};
};

}  // namespace

SetupDialog::SetupDialog(const ScopeData& scopeData, CommandSink& commands, QWidget* parent)
    : QDialog(parent),
      data_(scopeData),
      tabs_(new QTabBar(this)),
      channelPage_(new ChannelSetupPage(commands, this)),
      mathPage_(new MathSetupPage(commands, this)),
      refPage_(new RefSetupPage(commands, this)),
      triggerPage_(new TriggerSetupPage(commands, this)) {
    setWindowTitle(text(tooltext::kSetupTitle));
    for (const char* name : tooltext::kSetupTabs) tabs_->addTab(text(name));
    auto* pages = new QStackedLayout;
    for (SetupPage* p : {static_cast<SetupPage*>(channelPage_), mathPage_, refPage_, triggerPage_})
        pages->addWidget(p);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(pages);
    layout->addWidget(buttons);
    connect(tabs_, &QTabBar::currentChanged, this, [this, pages](int tab) {
        pages->setCurrentWidget(page(tab));
        showTab(tab);
    });
    showTab(kTabCh1);
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &SetupDialog::refresh);
    timer_.start();
}

SetupPage* SetupDialog::page(int tab) const {
    switch (tab) {
        case kTabCh1:
        case kTabCh2:
            return channelPage_;
        case kTabMath:
            return mathPage_;
        case kTabRef:
            return refPage_;
        default:
            return triggerPage_;
    }
}

void SetupDialog::showTab(int tab) {
    if (tab == kTabCh1 || tab == kTabCh2) {
        channelPage_->setChannel(tab == kTabCh1 ? kCh1 : kCh2);
        channelPage_->refresh(data_.displayedBlock);
    }
}

void SetupDialog::refresh() {
    for (SetupPage* p : {static_cast<SetupPage*>(channelPage_), mathPage_, refPage_, triggerPage_})
        p->refresh(data_.displayedBlock);
}

}  // namespace oscilane
