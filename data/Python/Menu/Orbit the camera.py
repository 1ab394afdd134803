# The camera circles once around its target; the view follows while the script runs.
import math
import time
import kxd

camera = kxd.GetCamera()
target = camera.TargetObject.Position
position = camera.Position
cx, cz = target.x, target.z

STEPS = 72
for step in range(STEPS):
    angle = math.radians(360.0 / STEPS)
    dx, dz = position.x - cx, position.z - cz
    position.x = cx + dx * math.cos(angle) - dz * math.sin(angle)
    position.z = cz + dx * math.sin(angle) + dz * math.cos(angle)
    time.sleep(0.03)
