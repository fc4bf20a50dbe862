// Code page steps built from tables where they exist and iconv everywhere else.
#include "engine/codepage_stream.h"

#include <algorithm>
#include <string>

#include "engine/codepage_iconv.h"
#include "engine/codepage_table.h"
#include "engine/fused_table.h"

namespace morvane {
namespace {

constexpr int kCodePageUtf16Le = 1200;

// Decodes through a decode table, as IconvDecoder would.
class TableDecoder {
  public:
    explicit TableDecoder(const DecodeTable& table) : table_(table) {}
    std::size_t Decode(std::string_view bytes, bool last, std::wstring& unicode) {
        const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
        const std::size_t size = bytes.size();
        std::size_t i = 0;
        while (i < size) {
            char32_t c = table_.single[in[i]];
            std::size_t used = 1;
            if (c == DecodeTable::kLead) {
                if (i + 1 == size) {
                    if (!last)
                        break;
                    c = DecodeTable::kInvalid; // cut off at the end
                } else {
                    c = table_.pair[in[i] * 256u + in[i + 1]];
                    used = c == DecodeTable::kInvalid ? 1 : 2;
                    if (c == DecodeTable::kSwallow) {
                        if (i + 2 == size && !last)
                            break; // whether a byte follows decides what is skipped
                        c = DecodeTable::kInvalid;
                        used = std::min<std::size_t>(3, size - i);
                    }
                }
            }
            unicode.push_back(c == DecodeTable::kInvalid ? L'?' : static_cast<wchar_t>(c));
            i += used;
        }
        return i;
    }

  private:
    const DecodeTable& table_;
};

// Encodes through an encode table, with iconv for characters beyond the table's plane.
class TableEncoder {
  public:
    TableEncoder(const EncodeTable& table, const CodePageName& page) : table_(table), page_(page) {}
    void Encode(std::wstring_view unicode, bool, Bytes& bytes) {
        std::size_t produced = bytes.size();
        bytes.resize(produced + unicode.size() * 3 + 1);
        auto* out = reinterpret_cast<unsigned char*>(bytes.data()) + produced;
        for (const wchar_t c : unicode) {
            if (static_cast<std::uint32_t>(c) <= 0xFFFF) {
                out = PutPacked(out, table_.bmp[static_cast<std::uint32_t>(c)]);
                continue;
            }
            produced =
                static_cast<std::size_t>(out - reinterpret_cast<unsigned char*>(bytes.data()));
            bytes.resize(produced);
            if (!wide_)
                wide_ = std::make_unique<IconvEncoder>(page_);
            wide_->Encode(std::wstring_view(&c, 1), true, bytes);
            produced = bytes.size();
            bytes.resize(produced + unicode.size() * 3 + 1);
            out = reinterpret_cast<unsigned char*>(bytes.data()) + produced;
        }
        bytes.resize(
            static_cast<std::size_t>(out - reinterpret_cast<unsigned char*>(bytes.data())));
    }

  private:
    const EncodeTable& table_;
    const CodePageName& page_;
    std::unique_ptr<IconvEncoder> wide_;
};

// Decoder into Unicode, then encoder out of it, a slice at a time to keep Unicode small.
template <typename Decoder, typename Encoder> class TranscodeStage : public CarryingStage {
  public:
    TranscodeStage(Decoder decoder, Encoder encoder)
        : decoder_(std::move(decoder)), encoder_(std::move(encoder)) {}

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        std::size_t done = 0;
        std::size_t slice = kSlice;
        while (true) {
            const std::string_view piece = text.substr(done, slice);
            const bool reachesEnd = done + piece.size() == text.size();
            const bool final = last && reachesEnd;
            unicode_.clear();
            const std::size_t used = decoder_.Decode(piece, final, unicode_);
            encoder_.Encode(unicode_, final, output);
            done += used;
            if (final)
                return text.size();
            if (reachesEnd)
                return done; // what the decoder left waits for more text
            // A slice that ended inside a sequence is read again with what follows it.
            slice = used == 0 ? slice * 2 : kSlice;
        }
    }

  private:
    static constexpr std::size_t kSlice = 64 * 1024;
    Decoder decoder_;
    Encoder encoder_;
    std::wstring unicode_;
};

template <typename Decoder>
std::unique_ptr<Stage> WithEncoder(Decoder decoder, const CodePageName& to) {
    if (const EncodeTable* table = EncodeTableFor(to.codePage))
        return std::make_unique<TranscodeStage<Decoder, TableEncoder>>(std::move(decoder),
                                                                       TableEncoder(*table, to));
    IconvEncoder encoder(to);
    if (!encoder.ok())
        return nullptr;
    return std::make_unique<TranscodeStage<Decoder, IconvEncoder>>(std::move(decoder),
                                                                   std::move(encoder));
}

std::unique_ptr<Stage> Transcode(const CodePageName& from, const CodePageName& to) {
    if (const DecodeTable* table = DecodeTableFor(from.codePage))
        return WithEncoder(TableDecoder(*table), to);
    IconvDecoder decoder(from);
    if (!decoder.ok())
        return nullptr;
    return WithEncoder(std::move(decoder), to);
}

// Waits for the first two bytes, then either decodes UTF-16LE or passes everything through.
class LoadedTextStage : public Stage {
  public:
    explicit LoadedTextStage(const CodePageName& page) : page_(page) {}

    void Push(std::string_view input, bool last, Bytes& output) override {
        if (mode_ == Mode::Undecided) {
            const std::size_t take = std::min(input.size(), 2 - head_.size());
            head_.append(input.substr(0, take));
            input.remove_prefix(take);
            if (head_.size() < 2 && !last)
                return;
            if (head_ == "\xFF\xFE") {
                mode_ = Mode::Decode;
                decode_ = Transcode(*FindCodePage(kCodePageUtf16Le), page_);
            } else {
                mode_ = Mode::Pass;
                output.append(head_);
            }
        }
        if (mode_ == Mode::Pass)
            output.append(input);
        else if (decode_)
            decode_->Push(input, last, output);
    }

    bool PassesThrough() const override { return mode_ == Mode::Pass; }

  private:
    enum class Mode { Undecided, Decode, Pass };
    const CodePageName& page_;
    Mode mode_ = Mode::Undecided;
    Bytes head_;
    std::unique_ptr<Stage> decode_;
};

} // namespace

std::unique_ptr<Stage> MakeCodePageStage(int fromCodePage, int toCodePage) {
    const CodePageName* from = FindCodePage(fromCodePage);
    const CodePageName* to = FindCodePage(toCodePage);
    if (from == nullptr || to == nullptr)
        return nullptr;
    if (const FusedTable* table = FusedTableFor(fromCodePage, toCodePage))
        return MakeFusedTableStage(*table);
    return Transcode(*from, *to);
}

std::unique_ptr<Stage> MakeLoadedTextStage(int codePage) {
    const CodePageName* page = FindCodePage(codePage);
    if (page == nullptr)
        return nullptr;
    return std::make_unique<LoadedTextStage>(*page);
}

} // namespace morvane
