// Opcodes, command codes and block codes of the instrument's command protocol.
// The library, the simulated instrument and the application all use these names.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvo {

enum class Opcode : uint32_t {
    Set = 160,
    Get = 161,
    BlockWrite = 162,
    BlockRead = 163,
};

// Reply value with which the instrument accepts a set or a block-write announcement.
inline constexpr uint32_t kAcknowledge = 132;

// Value field of every get request except the ETS flag's.
inline constexpr uint32_t kGetValue = 0;
inline constexpr uint32_t kEtsGetValue = 10;

// Selector of a trigger setting that addresses the main trigger; the
// alternate-trigger records are addressed by their channel, 0 or 1.
inline constexpr int32_t kMainTriggerSelector = 255;

enum class Command : uint32_t {
    LinkCheck = 1,  // value 1
    ShutDown = 4,   // value 10
    ShutDownOther = 5,
    RunStatus = 6,  // set and get
    AutoSetup = 7,
    FactorySetup = 8,
    ShowMenu = 10,
    ChannelEnable = 16,
    VoltsPerDivision = 17,
    Coupling = 18,
    Probe = 19,
    ChannelPosition = 20,
    Invert = 21,
    BandwidthLimit = 22,
    VoltsPerDivisionStep = 23,
    CoarseOrFine = 24,
    MathOperator = 25,
    MathSourceFirst = 26,
    MathSourceSecond = 27,
    TimeBase = 28,
    DisplayFormat = 29,
    HorizontalTriggerPosition = 31,
    TriggerMode = 32,
    TriggerSweep = 33,
    TriggerSource = 34,
    TriggerSlope = 35,
    PulseTriggerCondition = 37,
    PulseTriggerTime = 38,
    TriggerLevelPosition = 39,
    TriggerHfReject = 40,
    AltTriggerType = 41,
    TdcCalibration = 43,  // set and get
    MeterMeasureMode = 44,
    MeterVoltAcDc = 45,
    MeterVoltMode = 46,
    MeterVoltRange = 47,
    MeterVoltRelative = 48,
    MeterCurrentAcDc = 49,
    MeterCurrentMode = 50,
    MeterCurrentInput = 51,  // A or mA input
    MeterCurrentRange = 52,
    MeterCurrentRelative = 53,
    MeterResistanceRelative = 54,
    MeterResistanceMode = 55,
    MeterResistanceRange = 56,
    MeterCapacitanceRelative = 57,
    GeneratorSyncOutput = 58,
    GeneratorPower = 59,
    GeneratorClockDivider = 60,
    Function = 61,  // set and get
    OpenMeter = 62,
    FftWindow = 63,
    FftSource = 64,
    FftScale = 65,
    TriggerLevel50 = 67,
    WaveCalibration = 68,  // set and get
    Bandwidth100M = 72,
    EtsUpdate = 73,  // set and get
};

enum class Block : uint32_t {
    Setting = 3,            // read, kSettingBlockSize
    Screen = 5,             // read, kScreenBlockSize
    DeviceInformation = 6,  // read, kDeviceInfoBlockSize
    MeterReading = 8,       // read, kMeterBlockSize
    GeneratorWave = 9,      // write, 2 bytes per sample
    KitMeterReading = 11,   // read, kKitMeterBlockSize
    RawChannels = 12,       // read, kRawChannelsBlockSize
    RawReference = 13,      // read, kRawReferenceBlockSize
};

inline constexpr std::size_t kRequestSize = 12;
inline constexpr std::size_t kSettingBlockSize = 10148;
inline constexpr std::size_t kScreenBlockSize = 38400;
inline constexpr std::size_t kDeviceInfoBlockSize = 176;
inline constexpr std::size_t kMeterBlockSize = 22;
inline constexpr std::size_t kKitMeterBlockSize = 23;
inline constexpr std::size_t kRawChannelsBlockSize = 65536;
inline constexpr std::size_t kRawReferenceBlockSize = 32768;

// UDP port on which the instrument listens, and the largest datagram either side sends.
inline constexpr uint16_t kLanPort = 2001;
inline constexpr std::size_t kLanDatagramMax = 512;
// Largest reply the instrument sends per continue byte on serial and LAN links.
inline constexpr std::size_t kBlockReplyMax = 512;

// Generator sample buffer: at most this many 16-bit samples.
inline constexpr std::size_t kGeneratorSamplesMax = 4096;

constexpr uint32_t code(Command c) { return static_cast<uint32_t>(c); }
constexpr uint32_t code(Block b) { return static_cast<uint32_t>(b); }

}  // namespace zelvo
