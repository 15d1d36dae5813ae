#include <cmath>

#include <gtest/gtest.h>
#include <Ogre.h>

#include "support/EngineEnvironment.h"

namespace {

Ogre::MeshPtr mesh(const char* name) {
    return Ogre::MeshManager::getSingleton().getByName(
        name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
}

} // namespace

TEST(ApplicationStartup, OpensTheGameWindowOnOpenGLWithTheOctreeSceneManager) {
    Application& app = EngineEnvironment::app();
    EXPECT_EQ(app.getWindow()->getName(), "Vorrak projekt");
    EXPECT_EQ(app.getWindow()->getWidth(), 800u);
    EXPECT_EQ(app.getWindow()->getHeight(), 600u);
    EXPECT_FALSE(app.getWindow()->isFullScreen());
    EXPECT_EQ(app.getSceneManager()->getTypeName(), "OctreeSceneManager");
    EXPECT_EQ(app.getRoot()->getRenderSystem()->getName(), "OpenGL Rendering Subsystem");
}

TEST(ApplicationStartup, BuildsTheQuadMeshesWithTheirMaterials) {
    const std::pair<const char*, const char*> meshes[] = {
        {"QuadBottomCenter.mesh", "Sprite"}, {"PlayerOne.mesh", "PlayerOne"},
        {"PlayerTwo.mesh", "PlayerTwo"},     {"QuadTopLeft.mesh", "OverlaySprite"},
        {"RedOverlay.mesh", "RedOverlay"},   {"GreenOverlay.mesh", "GreenOverlay"}};
    for (const auto& [name, material] : meshes) {
        SCOPED_TRACE(name);
        Ogre::MeshPtr quad = mesh(name);
        ASSERT_TRUE(quad);
        ASSERT_EQ(quad->getNumSubMeshes(), 1u);
        EXPECT_EQ(quad->getSubMesh(0)->getMaterialName(), material);
        EXPECT_EQ(quad->getSubMesh(0)->operationType, Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    }
    // The sprite quad stands on its bottom centre; the box quad hangs from its top-left corner.
    // The engine pads mesh bounds by 1% of their size.
    const Ogre::AxisAlignedBox sprite = mesh("QuadBottomCenter.mesh")->getBounds();
    EXPECT_TRUE(sprite.getMinimum().positionEquals(Ogre::Vector3(-0.5f, 0, 0), 0.011f));
    EXPECT_TRUE(sprite.getMaximum().positionEquals(Ogre::Vector3(0.5f, 1, 0), 0.011f));
    const Ogre::AxisAlignedBox box = mesh("QuadTopLeft.mesh")->getBounds();
    EXPECT_TRUE(box.getMinimum().positionEquals(Ogre::Vector3(0, -1, 0), 0.011f));
    EXPECT_TRUE(box.getMaximum().positionEquals(Ogre::Vector3(1, 0, 0), 0.011f));
}

TEST(ApplicationStartup, TheQuadIsOneStripWithTexturesUpright) {
    Ogre::SubMesh* quad = mesh("QuadBottomCenter.mesh")->getSubMesh(0);
    Ogre::IndexData* indices = quad->indexData;
    ASSERT_EQ(indices->indexCount, 4u);
    Ogre::HardwareBufferLockGuard lock(indices->indexBuffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    std::vector<unsigned> order;
    for (size_t i = 0; i < 4; ++i)
        order.push_back(indices->indexBuffer->getType() == Ogre::HardwareIndexBuffer::IT_16BIT
                            ? static_cast<const Ogre::uint16*>(lock.pData)[i]
                            : static_cast<const Ogre::uint32*>(lock.pData)[i]);
    EXPECT_EQ(order, (std::vector<unsigned>{0, 1, 3, 2}));

    // Positions and one set of 2D texture coordinates, nothing else.
    const Ogre::VertexDeclaration* declaration = quad->vertexData->vertexDeclaration;
    EXPECT_EQ(declaration->getElementCount(), 2u);
    EXPECT_NE(declaration->findElementBySemantic(Ogre::VES_POSITION), nullptr);
    const Ogre::VertexElement* uv = declaration->findElementBySemantic(Ogre::VES_TEXTURE_COORDINATES);
    ASSERT_NE(uv, nullptr);
    EXPECT_EQ(uv->getType(), Ogre::VET_FLOAT2);
}

TEST(ApplicationStartup, TheCameraLooksAtTheFightFromTheFront) {
    Ogre::Camera* camera = EngineEnvironment::app().getCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->getName(), "Main Camera");
    EXPECT_TRUE(camera->getDerivedPosition().positionEquals(Ogre::Vector3(0, 80, 300), 1e-4f));
    const Ogre::Vector3 towardsTarget = (Ogre::Vector3(0, 60, 0) - Ogre::Vector3(0, 80, 300)).normalisedCopy();
    EXPECT_TRUE(camera->getDerivedDirection().positionEquals(towardsTarget, 1e-4f));
    EXPECT_FLOAT_EQ(camera->getFarClipDistance(), 1000);
    EXPECT_FLOAT_EQ(camera->getNearClipDistance(), 0.1f);

    Ogre::Viewport* viewport = EngineEnvironment::app().getWindow()->getViewport(0);
    EXPECT_EQ(viewport->getCamera(), camera);
    EXPECT_EQ(viewport->getActualWidth(), 800);
    EXPECT_EQ(viewport->getActualHeight(), 600);
}

TEST(ApplicationStartup, TheGroundIsATiledPlaneOnTheFightLine) {
    Ogre::SceneManager* scene = EngineEnvironment::app().getSceneManager();
    ASSERT_TRUE(scene->hasEntity("GroundPlane"));
    Ogre::Entity* ground = scene->getEntity("GroundPlane");
    EXPECT_EQ(ground->getSubEntity(0)->getMaterialName(), "Ground");
    EXPECT_FALSE(ground->getCastShadows());
    const Ogre::AxisAlignedBox bounds = ground->getWorldBoundingBox(true);
    // 500 by 500 around the origin, padded by the engine's 1%.
    EXPECT_NEAR(bounds.getMinimum().x, -250, 5.1f);
    EXPECT_NEAR(bounds.getMaximum().z, 250, 5.1f);
    EXPECT_NEAR(bounds.getMaximum().y, 0, 5.1f);
    EXPECT_EQ(scene->getAmbientLight(), Ogre::ColourValue::White);
}

// Each corner of a quad shows the same corner of its image: v = 0 is the image's top. A quad
// mirrored in u would turn both fighters away from each other.
TEST(ApplicationStartup, EachQuadCornerShowsTheSameCornerOfTheImage) {
    for (const char* name : {"QuadBottomCenter.mesh", "QuadTopLeft.mesh"}) {
        SCOPED_TRACE(name);
        Ogre::VertexData* vertices = mesh(name)->getSubMesh(0)->vertexData;
        const Ogre::VertexDeclaration* declaration = vertices->vertexDeclaration;
        const Ogre::VertexElement* position = declaration->findElementBySemantic(Ogre::VES_POSITION);
        const Ogre::VertexElement* uv = declaration->findElementBySemantic(Ogre::VES_TEXTURE_COORDINATES);
        ASSERT_EQ(position->getSource(), uv->getSource());
        const Ogre::HardwareVertexBufferSharedPtr buffer =
            vertices->vertexBufferBinding->getBuffer(position->getSource());
        Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
        const Ogre::AxisAlignedBox bounds = mesh(name)->getBounds();
        const Ogre::Vector3 size = bounds.getSize();
        for (size_t i = 0; i < vertices->vertexCount; ++i) {
            unsigned char* vertex = static_cast<unsigned char*>(lock.pData) + i * buffer->getVertexSize();
            float* xyz;
            float* st;
            position->baseVertexPointerToElement(vertex, &xyz);
            uv->baseVertexPointerToElement(vertex, &st);
            // Where the vertex lies in the quad, from the left and from the top, as 0 or 1.
            const float fromLeft = std::round((xyz[0] - bounds.getMinimum().x) / size.x);
            const float fromTop = std::round((bounds.getMaximum().y - xyz[1]) / size.y);
            EXPECT_EQ(st[0], fromLeft) << "vertex " << i;
            EXPECT_EQ(st[1], fromTop) << "vertex " << i;
        }
    }
}
