#include "tests/platform/mtl/MtlTestKit.h"

#include <cstring>
#include <random>

namespace mtl_test {

namespace {

void vertex_pixels(const float (*attributes)[4], const mtl::BufferView* buffers,
                   mtl::VertexOut& out) {
    float size[2];
    std::memcpy(size, buffers[1].data, sizeof(size));
    out.position[0] = 2.0f * attributes[0][0] / size[0] - 1.0f;
    out.position[1] = 1.0f - 2.0f * attributes[0][1] / size[1];
    for (int k = 0; k < 4; ++k)
        out.varyings[k] = attributes[1][k];
}

template <bool OddDiscard>
void shade_solid(const void*, const mtl::SpanIn& in, const mtl::SpanOut& out) {
    for (int i = 0; i < in.count; ++i) {
        out.r[i] = in.varyings[0][i];
        out.g[i] = in.varyings[1][i];
        out.b[i] = in.varyings[2][i];
        out.a[i] = in.varyings[3][i];
        if (OddDiscard && (in.x0 + i) % 2 == 1)
            out.keep[i] = 0;
    }
}

template <bool OddDiscard>
void make_solid(const mtl::FragmentBindings&, mtl::FragmentProgram& program) {
    program.shade = shade_solid<OddDiscard>;
}

} // namespace

Kit::Kit() {
    mtl::ShaderFunctionInfo vertex;
    vertex.vertex = vertex_pixels;
    vertex.needs[0] = {1, 8};
    mtl::register_shader_function("testPixels", vertex);
    mtl::ShaderFunctionInfo fragment;
    fragment.fragment = make_solid<false>;
    mtl::register_shader_function("solid", fragment);
    fragment.fragment = make_solid<true>;
    mtl::register_shader_function("oddDiscard", fragment);
    const auto blob = mtl::make_library_blob({"testPixels", "solid", "oddDiscard"});
    std::string error;
    library = device->newLibraryWithData(blob.data(), blob.size(), error);
}

std::shared_ptr<mtl::RenderPipelineState>
Kit::pipeline(const char* fragment, const mtl::ColorAttachmentDescriptor& color) {
    mtl::RenderPipelineDescriptor d;
    d.vertexFunction = library->newFunction("testPixels");
    d.fragmentFunction = fragment ? library->newFunction(fragment) : nullptr;
    d.vertexDescriptor.attributes[0] = {true, 0, 0, 2};
    d.vertexDescriptor.attributes[1] = {true, 8, 0, 4};
    d.vertexDescriptor.stride = sizeof(Vertex);
    d.colorAttachment0 = color;
    d.stencilAttachmentPixelFormat = mtl::PixelFormatStencil8;
    std::string error;
    return device->newRenderPipelineState(d, error);
}

std::shared_ptr<mtl::Texture> Kit::target(mtl::PixelFormat format, int w, int h) {
    auto d = mtl::TextureDescriptor::texture2D(format, size_t(w), size_t(h), false);
    d.usage = mtl::TextureUsageRenderTarget | mtl::TextureUsageShaderRead;
    return device->newTexture(d);
}

std::shared_ptr<mtl::Buffer> Kit::vertices(const std::vector<Vertex>& v) {
    return device->newBuffer(v.data(), v.size() * sizeof(Vertex), 0);
}

std::shared_ptr<mtl::Buffer> Kit::viewSize(int w, int h) {
    const float size[2] = {float(w), float(h)};
    return device->newBuffer(size, sizeof(size), 0);
}

void Kit::draw(const std::shared_ptr<mtl::Texture>& color,
               const std::shared_ptr<mtl::Texture>& stencil,
               const std::function<void(mtl::RenderCommandEncoder&)>& encode) {
    auto commandBuffer = queue->commandBuffer();
    mtl::RenderPassDescriptor pass;
    pass.colorAttachment0.texture = color;
    pass.colorAttachment0.loadAction = mtl::LoadActionLoad;
    pass.stencilAttachment.texture = stencil;
    pass.stencilAttachment.loadAction = mtl::LoadActionLoad;
    pass.stencilAttachment.storeAction = mtl::StoreActionStore;
    auto encoder = commandBuffer->renderCommandEncoder(pass);
    const auto* size = color ? color.get() : stencil.get();
    encoder->setVertexBuffer(viewSize(int(size->width()), int(size->height())), 0, 1);
    encode(*encoder);
    encoder->endEncoding();
    commandBuffer->commit();
    commandBuffer->waitUntilCompleted();
}

mtl::ColorAttachmentDescriptor source_over(mtl::PixelFormat format) {
    mtl::ColorAttachmentDescriptor c;
    c.pixelFormat = format;
    c.blendingEnabled = true;
    c.sourceRGBBlendFactor = c.sourceAlphaBlendFactor = mtl::BlendFactorOne;
    c.destinationRGBBlendFactor = c.destinationAlphaBlendFactor =
        mtl::BlendFactorOneMinusSourceAlpha;
    return c;
}

mtl::ColorAttachmentDescriptor replace(mtl::PixelFormat format) {
    mtl::ColorAttachmentDescriptor c;
    c.pixelFormat = format;
    return c;
}

mtl::DepthStencilDescriptor counting_stencil() {
    mtl::DepthStencilDescriptor d;
    d.hasFrontFaceStencil = d.hasBackFaceStencil = true;
    d.frontFaceStencil.depthStencilPassOperation = mtl::StencilOperationIncrementWrap;
    d.backFaceStencil.depthStencilPassOperation = mtl::StencilOperationIncrementWrap;
    return d;
}

std::vector<unsigned char> random_scene(Kit& kit, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> coordinate(-8.0f, 72.0f), unit(0.0f, 1.0f);
    std::vector<Vertex> v;
    for (int i = 0; i < 240; ++i) {
        const float a = unit(random);
        v.push_back({coordinate(random), coordinate(random), unit(random) * a, unit(random) * a,
                     unit(random) * a, a});
    }
    auto color = kit.target(mtl::PixelFormatBGRA8Unorm, 64, 64);
    auto stencil = kit.target(mtl::PixelFormatStencil8, 64, 64);
    auto pipeline = kit.pipeline("solid", source_over(mtl::PixelFormatBGRA8Unorm));
    auto state = kit.device->newDepthStencilState(counting_stencil());
    kit.draw(color, stencil, [&](mtl::RenderCommandEncoder& e) {
        e.setRenderPipelineState(pipeline);
        e.setDepthStencilState(state);
        e.setScissorRect({3, 5, 57, 50});
        e.setVertexBuffer(kit.vertices(v), 0, 0);
        e.drawPrimitives(mtl::PrimitiveTypeTriangle, 0, 120);
        e.drawPrimitives(mtl::PrimitiveTypeTriangleStrip, 120, 120);
    });
    auto bytes = bytes_of(*color);
    const auto counts = bytes_of(*stencil);
    bytes.insert(bytes.end(), counts.begin(), counts.end());
    return bytes;
}

std::vector<unsigned char> bytes_of(const mtl::Texture& t) {
    std::vector<unsigned char> bytes(t.bytesPerRow() * t.height());
    t.getBytes(bytes.data(), t.bytesPerRow(), mtl::Region::make2D(0, 0, t.width(), t.height()), 0);
    return bytes;
}

} // namespace mtl_test
