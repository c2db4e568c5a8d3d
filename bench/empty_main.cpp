// A program that does nothing, linked as simplesso is: what starting any process costs here.
int main() {
    return 0;
}
