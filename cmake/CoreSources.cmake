# Sources of the platform-free core library (paths relative to the repository root).
set(TARVIK_CORE_SOURCES
    engine/PixelBuffer.cpp
    model/ByteStream.cpp
    model/FileErrors.cpp
    model/Archive.cpp
    model/RuntimeClass.cpp
    model/BmpImage.cpp
    model/Picture.cpp
    model/TargetObj.cpp
    model/TargetObjList.cpp
    model/TargetListFile.cpp
)
