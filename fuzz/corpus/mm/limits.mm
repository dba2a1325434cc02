MotionModelASCII
x
	Version: 107
a
b
c

Mesh{
	"Bad"
	""
	x
	1 0 0
	0 1 0
	0 0 1
	0 0 0
	""
	NumTexChannels: 0
	Triangles: 2
	0 1 9 3
	0 1 2 0
	Vertices: 3
	0 0 0 0 0 0 1 1 1 1
	1 1 0 0 0 0 1 1 1 1
	2 0 1 0 0 0 1 1 1 1
}
