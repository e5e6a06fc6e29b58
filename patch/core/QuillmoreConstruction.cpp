#include "patch/core/GeneratedLists.h"
#include "patch/core/QuillmoreModules.h"
#include "runtime/EngineInterface.h"
#include "runtime/Platform.h"

#include <cmath>
#include <utility>

namespace PRT
{
namespace
{
struct DataRefDeclaration
{
    const char* name;
    const char* type;
    bool internal;
};

// The top level's data references, by index: spring model A's fourteen delay lines, the cosine
// table the modules' oscillators share, and the echo analyser's tables.
constexpr DataRefDeclaration dataRefDeclarations[Quillmore::numDataRefs] = {
    {"gen_01_delay_4_bufferobj", "buffer~", true},  {"gen_01_delay_5_bufferobj", "buffer~", true},
    {"gen_01_delay_6_bufferobj", "buffer~", true},  {"gen_01_delay_7_bufferobj", "buffer~", true},
    {"gen_01_delay_8_bufferobj", "buffer~", true},  {"gen_01_delay_9_bufferobj", "buffer~", true},
    {"gen_01_delay_10_bufferobj", "buffer~", true}, {"gen_01_delay_11_bufferobj", "buffer~", true},
    {"gen_01_delay_12_bufferobj", "buffer~", true}, {"gen_01_delay_13_bufferobj", "buffer~", true},
    {"gen_01_delay_14_bufferobj", "buffer~", true}, {"gen_01_delay_15_bufferobj", "buffer~", true},
    {"gen_01_delay_16_bufferobj", "buffer~", true}, {"gen_01_delay_17_bufferobj", "buffer~", true},
    {"PRTDefaultSinus", "buffer~", true},           {"binA", "buffer~", false},
    {"PRTDefaultFftWindow", "buffer~", false},      {"listSizes", "data", false},
    {"logLists", "data", false}};

constexpr double twoPi = 6.283185307179586;

// Fresh storage starts cleared, whoever asked for it.
void clearIfFresh(DataRef& ref)
{
    if (ref.isFreshlyAllocated() && ref.getData() != nullptr)
        getPlatform()->memset(ref.getData(), 0, ref.getSizeInBytes());
}
} // namespace

Quillmore::Quillmore() : Quillmore(ModuleFactory()) {}

Quillmore::Quillmore(ModuleFactory factory) : GeneratedPatcher({"", 2, 2}, 0), moduleFactory(std::move(factory))
{
    connectObjects();
}

Quillmore::~Quillmore()
{
    // The modules go first: they hold views of the top level's data references.
    destroyChildren();
}

template <typename Module>
Module* Quillmore::createModule(QuillmoreModule slot)
{
    GeneratedPatcher* made = moduleFactory ? moduleFactory(slot) : nullptr;
    auto* module = dynamic_cast<Module*>(made);
    if (module == nullptr)
    {
        if (made != nullptr)
            made->destroy();
        module = new Module();
    }
    return adoptChild(module);
}

void Quillmore::createChildren()
{
    outputAmp = createModule<PRTSubpatcher_39>(QuillmoreModule::OutputAmp);
    noiseGen = createModule<PRTSubpatcher_40>(QuillmoreModule::NoiseGen);
    noiseDuckerLeft = createModule<PRTSubpatcher_41>(QuillmoreModule::NoiseDuckerLeft);
    noiseGate = createModule<PRTSubpatcher_42>(QuillmoreModule::NoiseGate);
    springUtilities = createModule<PRTSubpatcher_43>(QuillmoreModule::SpringUtilities);
    noiseDuckerRight = createModule<PRTSubpatcher_44>(QuillmoreModule::NoiseDuckerRight);
    springsHighPass = createModule<PRTSubpatcher_45>(QuillmoreModule::SpringsHighPass);
    dryWetSprings = createModule<PRTSubpatcher_46>(QuillmoreModule::DryWetSprings);
    dryWetDelay = createModule<PRTSubpatcher_47>(QuillmoreModule::DryWetDelay);
    tapeDelay = createModule<PRTSubpatcher_48>(QuillmoreModule::TapeDelay);
    springsB = createModule<PRTSubpatcher_49>(QuillmoreModule::SpringsB);
    dropouts = createModule<PRTSubpatcher_50>(QuillmoreModule::Dropouts);
    inputFilter = createModule<PRTSubpatcher_51>(QuillmoreModule::InputFilter);
    delToSprings = createModule<PRTSubpatcher_52>(QuillmoreModule::DelToSprings);
    tapeStopper = createModule<PRTSubpatcher_53>(QuillmoreModule::TapeStopper);
    warbler = createModule<PRTSubpatcher_54>(QuillmoreModule::Warbler);
    echo = createModule<PRTSubpatcher_55>(QuillmoreModule::EchoAnalyser);
    fixStartupBurp = createModule<PRTSubpatcher_56>(QuillmoreModule::FixStartupBurp);
    // The start-up ramp also opens spring model A.
    fixStartupBurp->onRampValue = [this](float gate) { gen01.controls.gen01Gate = gate; };
}

void Quillmore::initialize()
{
    for (DataRefIndex k = 0; k < numDataRefs; ++k)
    {
        const DataRefDeclaration& declaration = dataRefDeclarations[k];
        dataRefs[static_cast<size_t>(k)] = DataRef(declaration.name, declaration.internal, declaration.type);
    }
    assignDefaults();
    createChildren();

    for (DataRefIndex k = 0; k < numDataRefs; ++k)
        dataRefs[static_cast<size_t>(k)].setIndex(k);
    for (int k = 0; k < SpringModelA::numDelayLines; ++k)
    {
        SpringModelA::DelayLine& line = gen01.delayLines[static_cast<size_t>(k)];
        DataRef& ref = dataRefs[static_cast<size_t>(k)];
        line.view.assignBufferView(new Float32Buffer(&ref));
        const SpringModelA::DelaySize size = gen01.gen01DelaySize(k);
        line.maximumDelay = size.maximumDelay;
        line.wrapMask = static_cast<uint64_t>(size.storage) - 1;
        line.view->requestChannels(1);
        const size_t bytes = static_cast<size_t>(size.storage) * sizeof(float);
        if (ref.getRequestedSizeInBytes() < bytes)
            ref.setRequestedSizeInBytes(bytes);
    }
    gen01.state = SpringModelA::State();

    setUpOwnObjects();
    for (GeneratedPatcher* module : getChildren())
        module->setupObjects();
    allocateDataRefs();
    scheduleLoadClocks();
    scheduleInitialParameterBangs();
}

void Quillmore::assignDefaults()
{
    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
    {
        values[index] = quillmoreParameters[index].initial;
        lastNotified[index] = 0.0f;
    }
    targets = BlockTargets();
    sendMode = echoSendOperand = springSendOperand = 0.0f;
    echoToSpringOperand = echoToSpringProduct = echoMixOperand = 0.0f;
    gen01.controls = SpringModelA::Controls();

    tempo.reset(120.0f);
    transport.reset(0.0f);
    // 0 beats at 0 ms; 4/4 from 0 ms.
    beatAnchors.clear();
    beatAnchors.push(0.0f);
    beatAnchors.push(0.0f);
    signatureChanges.clear();
    signatureChanges.push(4.0f);
    signatureChanges.push(4.0f);
    signatureChanges.push(0.0f);
    barBeatOffset = 0.0f;
}

void Quillmore::setUpOwnObjects()
{
    number_obj_210.setUp(NumberBox::floatFormat);
    number_obj_57.setUp(0);
    number_obj_26.setUp(0);
    numberTilde_obj_170.setUp(SignalMonitor::FollowInput);
    number_obj_73.setUp(NumberBox::floatFormat);
    numberTilde_obj_24.setUp(SignalMonitor::FollowInput);
    number_obj_22.setUp(NumberBox::floatFormat);
    number_obj_51.setUp(NumberBox::floatFormat);
}

void Quillmore::allocateDataRefs()
{
    // The modules first: some of them ask for the top level's shared tables.
    for (GeneratedPatcher* module : getChildren())
        module->allocateDataRefs();

    EngineInterface* engine = getEngine();
    auto tellEngine = [engine](DataRefIndex index) {
        if (engine != nullptr)
            engine->sendDataRefUpdated(index);
    };

    for (int k = 0; k < SpringModelA::numDelayLines; ++k)
    {
        SpringModelA::DelayLine& line = gen01.delayLines[static_cast<size_t>(k)];
        line.view->allocateIfNeeded();
        DataRef& ref = dataRefs[static_cast<size_t>(k)];
        if (ref.getRequestedSizeInBytes() == 0)
            continue;
        clearIfFresh(ref);
        tellEngine(k);
    }

    DataRef& cosine = dataRefs[cosineTableIndex];
    if (cosine.getRequestedSizeInBytes() > 0)
    {
        cosine.allocateIfNeeded();
        if (cosine.isFreshlyAllocated() && cosine.getData() != nullptr)
        {
            auto* table = static_cast<double*>(cosine.getData());
            const uint64_t channels = cosine.getDataType().channels == 0 ? 1 : cosine.getDataType().channels;
            const size_t frames = cosine.getSizeInBytes() / sizeof(double) / channels;
            for (size_t i = 0; i < frames; ++i)
                table[i * channels] =
                    static_cast<float>(std::cos(twoPi * static_cast<double>(i) / static_cast<double>(frames)));
        }
        tellEngine(cosineTableIndex);
    }

    for (DataRefIndex k = cosineTableIndex + 1; k < numDataRefs; ++k)
    {
        DataRef& ref = dataRefs[static_cast<size_t>(k)];
        if (ref.getRequestedSizeInBytes() == 0)
            continue;
        ref.allocateIfNeeded();
        clearIfFresh(ref);
        tellEngine(k);
    }
}

void Quillmore::scheduleLoadClocks()
{
    EngineInterface* engine = getEngine();
    updateTime(engine != nullptr ? engine->getCurrentTime() : 0.0);
    // The top level has no load-time objects of its own.
    for (GeneratedPatcher* module : getChildren())
        module->scheduleLoadClocks();
}

void Quillmore::scheduleInitialParameterBangs()
{
    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
    {
        parameterOrderIndexes.push(index);
        parameterOrderKeys.push(0);
    }
    sortParallelLists(parameterOrderKeys, parameterOrderIndexes, 0,
                      static_cast<int64_t>(parameterOrderKeys.size()) - 1);
    if (EngineInterface* engine = getEngine())
        for (size_t i = 0; i < parameterOrderIndexes.size(); ++i)
            engine->scheduleParameterBang(parameterOrderIndexes[i], 0.0);
}

DataRef* Quillmore::getDataRef(DataRefIndex index)
{
    return index >= 0 && index < numDataRefs ? &dataRefs[static_cast<size_t>(index)] : nullptr;
}

void Quillmore::processDataViewUpdate(DataRefIndex index, MillisecondTime time)
{
    updateTime(time);
    if (index >= 0 && index < SpringModelA::numDelayLines)
    {
        auto* view = new Float32Buffer(&dataRefs[static_cast<size_t>(index)]);
        view->requestChannels(1);
        gen01.delayLines[static_cast<size_t>(index)].view.assignBufferView(view);
    }
    for (GeneratedPatcher* module : getChildren())
        module->processDataViewUpdate(index, time);
}

} // namespace PRT
