#pragma once
// A text that many holders may share: the language texts of the elements,
// where the blocks of one kind carry the same label, help and value list and
// nearly every element the same command-error list. Copies share one
// buffer; the text never changes in place, so assigning a new text to one
// holder leaves the others alone. Reads as a const std::string.
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace dtm {

class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::string text)  // NOLINT: a text is assigned as a std::string
        : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text))) {}
    SharedText(const char* text) : SharedText(std::string(text)) {}  // NOLINT

    const std::string& str() const noexcept { return text_ ? *text_ : Empty(); }
    operator const std::string&() const noexcept { return str(); }  // NOLINT

    bool empty() const noexcept { return !text_ || text_->empty(); }
    size_t size() const noexcept { return str().size(); }
    const char* c_str() const noexcept { return str().c_str(); }
    size_t find(std::string_view what, size_t pos = 0) const noexcept { return str().find(what, pos); }
    std::string substr(size_t pos, size_t count = std::string::npos) const { return str().substr(pos, count); }

    friend bool operator==(const SharedText& a, const SharedText& b) noexcept { return a.str() == b.str(); }
    friend bool operator==(const SharedText& a, const std::string& b) noexcept { return a.str() == b; }
    friend bool operator==(const SharedText& a, const char* b) noexcept { return a.str() == b; }
    friend std::string operator+(const SharedText& a, std::string_view b) { return a.str() + std::string(b); }
    friend std::string operator+(std::string_view a, const SharedText& b) { return std::string(a) + b.str(); }
    friend std::ostream& operator<<(std::ostream& out, const SharedText& text) { return out << text.str(); }

private:
    static const std::string& Empty() noexcept {
        static const std::string empty;
        return empty;
    }

    std::shared_ptr<const std::string> text_;
};

}  // namespace dtm
