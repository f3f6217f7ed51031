// placeholder so the frame library has a source until the frame grows
namespace dtm::frame { int FrameLibraryVersion() { return 1; } }
