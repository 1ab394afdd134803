import kxd

print("Hello World!")
print(kxd.Version())
