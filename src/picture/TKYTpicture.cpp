// TKYTpicture: a decoded picture shown from a file.
#include "picture/TKYTpicture.h"

#include "base/Files.h"
#include "base/Paths.h"
#include "picture/GifCodec.h"

namespace orvo {

void TKYTpicture::SetImageNameL(std::string_view cp1252Name) {
    if (cp1252Name == imageName_) return;
    Clear();
    imageName_ = std::string(cp1252Name);
    if (!imageName_.empty()) (void)Reload();  // a load error leaves the picture empty
}

void TKYTpicture::Clear() {
    imageName_.clear();
    bytes_.clear();
    graphic_.reset();
}

Status TKYTpicture::Reload() {
    bytes_.clear();
    graphic_.reset();
    if (imageName_.empty()) return Fail("Nessun file");
    Result<std::string> bytes = ReadFileBytes(NativePath(imageName_));
    if (!bytes) return bytes.failure();
    return LoadBytes(std::move(*bytes));
}

Status TKYTpicture::LoadBytes(std::string bytes) {
    graphic_.reset();
    bytes_.clear();
    Result<Picture> decoded = DecodePicture(bytes, limits_);
    if (!decoded) return decoded.failure();
    bytes_ = std::move(bytes);
    graphic_ = std::move(*decoded);
    return Status::Ok();
}

bool TKYTpicture::IsOpaque() const {
    if (!graphic_) return true;
    if (graphic_->IsMetafile()) return false;
    if (!graphic_->IsGif()) return true;
    return !graphic_->IsTransparentGif();
}

Status TKYTpicture::SetTransparent(bool on) {
    if (!IsGif() || imageName_.empty()) return Fail("Immagine non GIF");
    Result<std::string> rewritten = RewriteGifTransparency(bytes_, on, limits_);
    if (!rewritten) return rewritten.failure();
    if (Status written = WriteFileAtomically(NativePath(imageName_), *rewritten); !written) {
        return written;
    }
    return Reload();
}

}  // namespace orvo
