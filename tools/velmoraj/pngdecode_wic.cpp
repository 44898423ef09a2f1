// The Windows Imaging Component's PNG decoder, through COM.
#include "pngdecode.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdio>

namespace {

// Releases a COM interface when it goes out of scope.
template <class T>
class ComRef {
public:
    ~ComRef()
    {
        if (p_)
            p_->Release();
    }
    T **operator&() { return &p_; }
    T *operator->() const { return p_; }
    T *get() const { return p_; }

private:
    T *p_ = nullptr;
};

// COM for this thread while the object lives; a thread that already runs
// another apartment model is used as it is.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }

private:
    HRESULT hr_;
};

}  // namespace

static bool Fail(std::string *error, const char *step, HRESULT hr)
{
    char code[16];
    snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    *error = std::string("corrupt or truncated PNG: ") + step + " failed with " + code;
    return false;
}

// Frame 0 of the file, decoded by the PNG decoder only.
static HRESULT OpenFrame(IWICImagingFactory *factory, const std::vector<uint8_t> &file,
                         IWICStream **stream, IWICBitmapDecoder **decoder,
                         IWICBitmapFrameDecode **frame)
{
    HRESULT hr = factory->CreateStream(stream);
    if (SUCCEEDED(hr))
        hr = (*stream)->InitializeFromMemory(const_cast<BYTE *>(file.data()),
                                             static_cast<DWORD>(file.size()));
    if (SUCCEEDED(hr))
        hr = factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder);
    if (SUCCEEDED(hr))
        hr = (*decoder)->Initialize(*stream, WICDecodeMetadataCacheOnDemand);
    if (SUCCEEDED(hr))
        hr = (*decoder)->GetFrame(0, frame);
    return hr;
}

bool DecodePngBgra(const std::vector<uint8_t> &file, uint32_t width, uint32_t height,
                   std::vector<uint8_t> *bgra, std::string *error)
{
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void **>(&factory));
    if (FAILED(hr))
        return Fail(error, "starting the imaging component", hr);
    hr = OpenFrame(factory.get(), file, &stream, &decoder, &frame);
    if (FAILED(hr))
        return Fail(error, "decoding", hr);
    UINT w = 0, h = 0;
    if (FAILED(frame->GetSize(&w, &h)) || w != width || h != height) {
        *error = "corrupt PNG: the decoder sees another size";
        return false;
    }
    hr = factory->CreateFormatConverter(&converter);
    if (SUCCEEDED(hr))
        hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    bgra->assign(size_t{width} * height * 4, 0);
    if (SUCCEEDED(hr))
        hr = converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgra->size()),
                                   bgra->data());
    return SUCCEEDED(hr) || Fail(error, "converting the pixels", hr);
}
