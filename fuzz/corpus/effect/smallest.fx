uniform float a;
vertex V { void main() { gl_Position = vec4(a); } }
fragment F { out vec4 c; void main() { c = vec4(1.0); } }
technique T { pass { VertexShader = V; PixelShader = F; } }
