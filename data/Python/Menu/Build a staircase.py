# A staircase of 15 mm blocks: step n is a column of n blocks, each step one block further
# along the red axis.
import kxd

BLOCK = "40001"     # Baustein 15
SIZE = 1.5          # 15 mm in scene units
STEPS = 5

for step in range(STEPS):
    for level in range(step + 1):
        kxd.AddPart(BLOCK)
        part = kxd.GetPartAtIndex(kxd.GetPartCount() - 1)
        position = part.Object3D.Position
        position.x = step * SIZE
        position.y = level * SIZE
        # store the pose in the model, so that it is saved and stays when the view refreshes
        part.CommitChanges(False)

print("%d blocks placed" % (STEPS * (STEPS + 1) // 2))
