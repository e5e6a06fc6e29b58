#pragma once

// Every module class of the top level, for the top level's own code (and tests that reach into the
// modules).
#include "patch/core/FixStartupBurp.h"
#include "patch/core/OutputAmp.h"
#include "patch/core/Quillmore.h"
#include "patch/heads/Dropouts.h"
#include "patch/heads/InputFilter.h"
#include "patch/heads/NoiseDuckerLeft.h"
#include "patch/heads/NoiseDuckerRight.h"
#include "patch/heads/NoiseGate.h"
#include "patch/heads/NoiseGen.h"
#include "patch/heads/TapeStopper.h"
#include "patch/heads/Warbler.h"
#include "patch/space/DelToSprings.h"
#include "patch/space/DryWetDelay.h"
#include "patch/space/DryWetSprings.h"
#include "patch/space/EchoAnalyser.h"
#include "patch/space/SpringUtilities.h"
#include "patch/space/SpringsB.h"
#include "patch/space/SpringsHighPass.h"
#include "patch/space/TapeDelay.h"
