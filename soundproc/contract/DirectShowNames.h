// The shared DirectShow and COM object bases (directshow/) under their own
// names in the sound processor's namespace.
#pragma once

#include "directshow/base/MediaTypes.h"
#include "directshow/base/SampleHelpers.h"
#include "directshow/base/SampleMediaBuffer.h"
#include "directshow/com/ComObject.h"
#include "directshow/com/ComPtr.h"
#include "directshow/com/ServerObjects.h"

namespace zmsp {

using ds::ComObject;
using ds::ComPart;
using ds::ComPtr;
using ds::CreateComObject;
using ds::FindInTable;
using ds::Implements;
using ds::InterfaceEntry;
using ds::MakeComObject;
using ds::ServerObjects;

using ds::CopyMediaType;
using ds::CreateMediaType;
using ds::DeleteMediaType;
using ds::FreeMediaType;
using ds::IsNullGuid;
using ds::MediaType;

using ds::CopySampleData;
using ds::CopySampleProperties;
using ds::SampleMediaBuffer;
using ds::TakenMediaType;

}  // namespace zmsp
