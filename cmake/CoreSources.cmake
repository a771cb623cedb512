# Sources of the platform-free core library (paths relative to the repository root). The core
# builds natively and with mingw-w64 and never includes <windows.h>.
set(TARVIK_CORE_SOURCES
    engine/BitmapEx.cpp
    engine/Dimming.cpp
    engine/PictureSearch.cpp
    engine/PictureSearchAnchors.cpp
    engine/PictureSearchAvx2.cpp
    engine/PictureSearchColourPass.cpp
    engine/PictureSearchHash.cpp
    engine/PictureSearchScan.cpp
    engine/PictureSearchSse2.cpp
    engine/PixelBuffer.cpp
    engine/RegionRuns.cpp
    engine/TargetSearch.cpp
    model/Archive.cpp
    model/AtomicFile.cpp
    model/BmpImage.cpp
    model/ByteStream.cpp
    model/FileErrors.cpp
    model/Picture.cpp
    model/PictureString.cpp
    model/RuntimeClass.cpp
    model/TargetListFile.cpp
    model/TargetObj.cpp
    model/TargetObjList.cpp
    model/TextConvert.cpp
)
